#include "mahjong/SceneBackgroundListener.h"

SceneBackgroundListener::~SceneBackgroundListener() = default;
