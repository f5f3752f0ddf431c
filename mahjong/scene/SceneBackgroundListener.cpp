#include "mahjong/scene/SceneBackgroundListener.h"

SceneBackgroundListener::~SceneBackgroundListener() = default;
