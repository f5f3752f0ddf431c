#pragma once

class CastMemberImage;

// One scene sprite of the quest's scene, by the image number it was made from.
struct SceneSprite
{
    int _index = 0;
    // Lives on the stage, which deletes it once it is taken off.
    CastMemberImage* _sprite = nullptr;
};
