// Labels: text labels laid out in boxes (left, centred, right, wrapped at the box width), a
// bitmap-font label whose letter pairs are kerned by the font, and a character-map label
// counting the seconds, changed with setString every tenth of a second.
#include <cstdio>

#include "CCColorLayer.h"
#include "CCLabelAtlas.h"
#include "CCLabelBMFont.h"
#include "CCLabelTTF.h"
#include "CCScene.h"
#include "CGPointExtension.h"
#include "ExampleApp.h"

namespace {

const char* kText = "Labels wrap their text at the width of their box.";

class LabelsLayer : public CCLayer {
public:
    static LabelsLayer* node() { return ccCreate<LabelsLayer>([](LabelsLayer* l) { return l->init(); }); }

    bool init() override {
        if (!CCLayer::init()) return false;
        addChild(CCColorLayer::layerWithColor(ccc4(40, 44, 52, 255)));

        // Text labels: a box of 136 x 60 points, one per alignment, on a panel a little larger.
        const UITextAlignment alignments[] = {UITextAlignmentLeft, UITextAlignmentCenter, UITextAlignmentRight};
        for (int i = 0; i < 3; ++i) {
            const CGPoint centre = ccp(85 + i * 155, 262);
            CCColorLayer* panel = CCColorLayer::layerWithColor(ccc4(80, 90, 110, 255), 150, 72);
            panel->setPosition(ccp(centre.x - 75, centre.y - 36));
            addChild(panel);
            CCLabelTTF* text = CCLabelTTF::labelWithString(kText, CGSize{136, 60}, alignments[i], "DejaVu Sans", 14);
            text->setPosition(centre);
            addChild(text);
        }

        // A bitmap font: one sprite per character from the font's page, kerned pairs ("AV",
        // "To", "Wa") closer together.
        CCLabelBMFont* kerned = CCLabelBMFont::labelWithString("AVATAR To Wave", "exampleFont.fnt");
        if (!kerned) return false;
        kerned->setPosition(ccp(240, 170));
        addChild(kerned);
        CCLabelBMFont* tinted = CCLabelBMFont::labelWithString("tinted, faded", "exampleFont.fnt");
        tinted->setColor(ccc3(255, 110, 110));
        tinted->setOpacity(160);
        tinted->setPosition(ccp(240, 130));
        addChild(tinted);

        // A character map: cells of 24 x 32 pixels for the codes from '.' to ':' ("./0123456789:").
        clock_ = CCLabelAtlas::labelWithString("00:00.0", "digits.png", 24, 32, '.');
        if (!clock_) return false;
        clock_->setPosition(ccp(240 - 7 * 24 / 2, 40));
        addChild(clock_);
        schedule(schedule_selector(LabelsLayer::tick), 0.1f);
        return true;
    }

    void tick(float dt) {
        seconds_ += dt;
        const int tenths = static_cast<int>(seconds_ * 10);
        char text[16];
        std::snprintf(text, sizeof text, "%02d:%02d.%d", tenths / 600 % 100, tenths / 10 % 60, tenths % 10);
        clock_->setString(text);
    }

private:
    CCLabelAtlas* clock_ = nullptr; // child
    float seconds_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    return ExampleApp::run(argc, argv, "labels", []() -> CCScene* {
        LabelsLayer* layer = LabelsLayer::node();
        if (!layer) return nullptr;
        CCScene* scene = CCScene::node();
        scene->addChild(layer);
        return scene;
    });
}
