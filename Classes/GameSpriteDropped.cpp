#include "GameSpriteDropped.h"

GameSpriteDropped* GameSpriteDropped::spriteWithFile(const std::string& filename) {
    return ccCreate<GameSpriteDropped>([&](GameSpriteDropped* s) { return s->initWithFile(filename); });
}
