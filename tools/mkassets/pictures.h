// The pictures drawn by rule rather than by hand: the nine bricks, the two
// gems and the stone wall.
#pragma once

#include "indexed_image.h"

constexpr int BRICK_WIDTH = 24;
constexpr int BRICK_HEIGHT = 13;
constexpr int WALL_WIDTH = 32;
constexpr int WALL_HEIGHT = 450;

// Brick `number` 1 to 9.
IndexedImage MakeBrick(int number);

// A rhombus |x - 12| + |y - 6| <= 6 in `face`, with two facet lines in
// `facet` from the top point down to the widest row.
IndexedImage MakeGem(Colour face, Colour facet);

// The stone pillar; the same picture on every run.
IndexedImage MakeWall();
