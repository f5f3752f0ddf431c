#pragma once

#include "framework/core/Debug.h"
#include "framework/core/Export.h"

// An object with a parent link: a message it does not handle climbs the chain of parents until
// one handles it. Every change of parent is announced with MSGID_AddChild and MSGID_RemoveChild,
// so a parent can track its children.
class FRAMEWORK_API MessageHandler : public Debug
{
public:
    // Library-wide ids; GetNextMSGID hands out the ones after them.
    static constexpr unsigned int MSGID_AddChild = 0;
    static constexpr unsigned int MSGID_RemoveChild = 1;

    MessageHandler();
    // Announces itself to a non-null parent at once, as SetParent does.
    explicit MessageHandler(MessageHandler* parent);
    // Announces its removal to the parent, if any.
    ~MessageHandler() override;

    // Tells the old parent (remove) and the new one (add); the parent is not owned.
    virtual void SetParent(MessageHandler* parent);
    virtual MessageHandler* GetParent();
    virtual bool HasParent();
    // Offers the message to OnMessage, then to the parent chain; false when nobody took it.
    virtual bool SendMessage(unsigned int id, void* a, void* b, void* c, void* d);
    // Returns true when the message was handled here, which stops it climbing. The default
    // handles add and remove messages addressed to this object (a == this).
    virtual bool OnMessage(unsigned int id, void* a, void* b, void* c, void* d);
    // Called when a child announced itself with this object as its new parent.
    virtual void OnAddChild(MessageHandler* child);
    // Called when a child left this object (new parent, or destroyed).
    virtual void OnRemoveChild(MessageHandler* child);

    // A fresh library-wide message id: 2, 3, 4 ... in a new process.
    static unsigned int GetNextMSGID();

private:
    MessageHandler* _parent = nullptr; // not owned

    // Constant-initialised, so it is valid before any other static constructor runs.
    static unsigned int _nextMSGID;
};
