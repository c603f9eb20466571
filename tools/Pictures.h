#pragma once

#include "FontFace.h"
#include "Image.h"

namespace restool {

// The game's pictures, drawn from code. Sizes are in pixels (= points at scale factor 1).

constexpr int kCatWidth = 100, kCatHeight = 70;            // shown at scale 0.69
constexpr int kBackButtonWidth = 64, kBackButtonHeight = 40;
constexpr int kLargeSawSize = 180;                          // shown at scale 0.35
constexpr int kRegularSawSize = 200;                        // shown at scales 0.2 to 0.29
constexpr int kCoinSize = 30;
constexpr int kBonusSize = 128;                             // shown at scale 0.3
constexpr int kTitleWidth = 480, kTitleHeight = 320;
constexpr int kParticleSize = 32;

// Run frame 1 to 4 of the cat, facing right; frame 2 is the stretched leap, also shown
// while the cat jumps. All frames share one size, since the sprite keeps its rectangle
// when its texture changes.
Image drawCat(int frame);
// The same cat drawn into `cr` at the origin, kCatWidth × kCatHeight in the current units (for
// pictures that show it at other sizes).
void paintCat(cairo_t* cr, int frame);
// The title's sky, from deep blue at the top to the haze at `ground`, `width` wide.
void paintSky(cairo_t* cr, double width, double ground);

// The back button, opaque (it is drawn without blending): normal or pressed look.
Image drawBackButton(const FontFace& font, bool pressed);

// Circular saw blades, transparent outside the blade; the teeth lean the way the game
// turns them (anticlockwise) so that the spin reads.
Image drawLargeSaw();
Image drawRegularSaw();

Image drawCoin();
Image drawBonus();

// The title scene's picture: sky, hills, ground, a leaping cat, a saw and coins, with the
// middle band kept calm for the labels the title scene draws over it.
Image drawTitle(const FontFace& font);

// White soft dot with faint rays, straight alpha: the particle texture (tinted by the
// particles' colours).
Image drawParticleDot();

}  // namespace restool
