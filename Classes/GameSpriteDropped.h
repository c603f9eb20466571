#pragma once
// The sprite of every item that enters the game (saws, coins, bonus items). Its tag names the
// kind; randNumb tells the large saw (1), which spins faster, from the others (0).
#include <string>

#include "CCSprite.h"

class GameSpriteDropped : public CCSprite {
public:
    // A new, autoreleased item showing the cached texture of the file; nullptr when the file
    // cannot be loaded.
    static GameSpriteDropped* spriteWithFile(const std::string& filename);

    int randNumb() const { return randNumb_; }
    void setRandNumb(int value) { randNumb_ = value; }

private:
    int randNumb_ = 0;
};
