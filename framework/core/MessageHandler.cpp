#include "framework/core/MessageHandler.h"

unsigned int MessageHandler::_nextMSGID = MSGID_RemoveChild + 1;

MessageHandler::MessageHandler() = default;

MessageHandler::MessageHandler(MessageHandler* parent)
{
    MessageHandler::SetParent(parent);
}

MessageHandler::~MessageHandler()
{
    if (_parent != nullptr) {
        SendMessage(MSGID_RemoveChild, _parent, this, nullptr, nullptr);
        _parent = nullptr;
    }
}

void MessageHandler::SetParent(MessageHandler* parent)
{
    if (_parent != nullptr) {
        SendMessage(MSGID_RemoveChild, _parent, this, nullptr, nullptr);
    }
    _parent = parent;
    if (parent != nullptr) {
        SendMessage(MSGID_AddChild, parent, this, nullptr, nullptr);
    }
}

MessageHandler* MessageHandler::GetParent()
{
    return _parent;
}

bool MessageHandler::HasParent()
{
    return _parent != nullptr;
}

bool MessageHandler::SendMessage(unsigned int id, void* a, void* b, void* c, void* d)
{
    if (OnMessage(id, a, b, c, d)) {
        return true;
    }
    if (_parent != nullptr) {
        return _parent->SendMessage(id, a, b, c, d);
    }
    return false;
}

bool MessageHandler::OnMessage(unsigned int id, void* a, void* b, void*, void*)
{
    if (a != this) {
        return false;
    }
    if (id == MSGID_AddChild) {
        OnAddChild(static_cast<MessageHandler*>(b));
        return true;
    }
    if (id == MSGID_RemoveChild) {
        OnRemoveChild(static_cast<MessageHandler*>(b));
        return true;
    }
    return false;
}

void MessageHandler::OnAddChild(MessageHandler*) {}

void MessageHandler::OnRemoveChild(MessageHandler*) {}

unsigned int MessageHandler::GetNextMSGID()
{
    return _nextMSGID++;
}
