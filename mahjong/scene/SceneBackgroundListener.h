#pragma once

class Image;

// Takes the stage backgrounds that the quest's scene builds for its fade series (the board
// screen, which keeps the game script's stage background).
class SceneBackgroundListener
{
public:
    virtual ~SceneBackgroundListener();

    // Called on the main thread with a new picture, which the listener owns from now on. It must
    // show the picture on the stage before it frees the background it replaces, since the stage
    // paints its background every frame.
    virtual void SceneBackgroundReady(Image* picture) = 0;
};
