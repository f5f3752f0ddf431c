#pragma once

#include "framework/core/Export.h"

class CastMember;

// A drop target registered with the stage. The defaults contain no point and accept nothing,
// so a receiver must override both to receive a drop.
class FRAMEWORK_API Receiver
{
public:
    Receiver() = default;
    virtual ~Receiver();

    // Whether the screen point lies on the receiver.
    virtual bool ReceiverContains(int x, int y);
    // Whether the receiver takes the member: dropped on it (onDrop true) or clicked (false).
    virtual bool ReceiverAccepts(CastMember* member, bool onDrop);
    // Called when a member's move ends while it has this receiver.
    virtual void ReceiverMoveEnded(CastMember* member);
};
