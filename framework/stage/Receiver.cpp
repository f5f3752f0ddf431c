#include "framework/stage/Receiver.h"

Receiver::~Receiver() = default;

bool Receiver::ReceiverContains(int /*x*/, int /*y*/)
{
    return false;
}

bool Receiver::ReceiverAccepts(CastMember* /*member*/, bool /*onDrop*/)
{
    return false;
}

void Receiver::ReceiverMoveEnded(CastMember* /*member*/) {}
