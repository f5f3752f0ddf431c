#pragma once

#include "framework/media/Image.h"
#include "mahjong/app/MjGameScript.h"
#include "mahjong/scene/SceneBackgroundListener.h"

#include <memory>
#include <vector>

namespace mjtest {

// The game script, recording the states it reaches instead of running them.
class SceneScript : public MjGameScript
{
public:
    using MjGameScript::MjGameScript;
    void DoState(int state) override { reached.push_back(state); }
    std::vector<int> reached;
};

// Keeps the scene backgrounds it is given.
class BackgroundKeeper : public SceneBackgroundListener
{
public:
    void SceneBackgroundReady(Image* picture) override { pictures.emplace_back(picture); }
    std::vector<std::unique_ptr<Image>> pictures;
};

} // namespace mjtest
