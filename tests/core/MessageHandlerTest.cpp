#include "framework/core/MessageHandler.h"

#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr unsigned int kPing = 100;

using Journal = std::vector<std::string>;

// What a family of nodes saw. Names are kept here, not in the nodes, because a parent is told
// of a child's removal while the child is being destroyed.
struct Family
{
    Journal journal;
    std::map<const MessageHandler*, std::string> names;

    std::string NameOf(const MessageHandler* h) const
    {
        const auto it = names.find(h);
        return it != names.end() ? it->second : "other";
    }
};

class Node : public MessageHandler
{
public:
    Node(const std::string& name, Family& family, MessageHandler* parent = nullptr)
        : _family(family)
    {
        _family.names[this] = name;
        if (parent != nullptr) {
            SetParent(parent);
        }
    }

    void Handle(unsigned int id) { _handled.insert(id); }

    bool OnMessage(unsigned int id, void* a, void* b, void* c, void* d) override
    {
        if (_handled.count(id) != 0) {
            Note("handled " + std::to_string(id));
            return true;
        }
        if (id == kPing) {
            Note("declined " + std::to_string(id));
        }
        return MessageHandler::OnMessage(id, a, b, c, d);
    }
    void OnAddChild(MessageHandler* child) override { Note("add " + _family.NameOf(child)); }
    void OnRemoveChild(MessageHandler* child) override { Note("remove " + _family.NameOf(child)); }

private:
    void Note(const std::string& what)
    {
        _family.journal.push_back(_family.NameOf(this) + " " + what);
    }

    Family& _family;
    std::set<unsigned int> _handled;
};

TEST(MessageHandlerTest, ParentIsToldOfEveryChangeOfParent)
{
    Family family;
    Node first("first", family);
    Node second("second", family);
    {
        Node child("child", family, &first);
        EXPECT_EQ(child.GetParent(), &first);
        EXPECT_TRUE(child.HasParent());

        child.SetParent(&second);
        child.SetParent(nullptr);
        EXPECT_FALSE(child.HasParent());
        EXPECT_EQ(child.GetParent(), nullptr);

        child.SetParent(&first);
    }
    EXPECT_EQ(family.journal,
              (Journal{"first add child", "first remove child", "second add child",
                       "second remove child", "first add child", "first remove child"}));
}

TEST(MessageHandlerTest, ConstructorWithParentAnnouncesTheChild)
{
    Family family;
    Node parent("parent", family);
    {
        MessageHandler plain(&parent);
        EXPECT_EQ(plain.GetParent(), &parent);
    }
    EXPECT_EQ(family.journal, (Journal{"parent add other", "parent remove other"}));
}

TEST(MessageHandlerTest, AnnouncementsStopAtTheParent)
{
    Family family;
    Node root("root", family);
    Node middle("middle", family, &root);
    family.journal.clear();
    {
        Node leaf("leaf", family, &middle);
    }
    EXPECT_EQ(family.journal, (Journal{"middle add leaf", "middle remove leaf"}));
}

TEST(MessageHandlerTest, MessageClimbsUntilSomeoneHandlesIt)
{
    Family family;
    Node root("root", family);
    Node middle("middle", family, &root);
    Node leaf("leaf", family, &middle);
    family.journal.clear();

    EXPECT_FALSE(leaf.SendMessage(kPing, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(family.journal,
              (Journal{"leaf declined 100", "middle declined 100", "root declined 100"}));

    family.journal.clear();
    middle.Handle(kPing);
    root.Handle(kPing);
    EXPECT_TRUE(leaf.SendMessage(kPing, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(family.journal, (Journal{"leaf declined 100", "middle handled 100"}));
}

TEST(MessageHandlerTest, AddAndRemoveAddressedToAnotherObjectAreDeclined)
{
    Family family;
    Node root("root", family);
    Node leaf("leaf", family, &root);
    Node stranger("stranger", family);
    family.journal.clear();

    EXPECT_FALSE(
        leaf.SendMessage(MessageHandler::MSGID_AddChild, &stranger, &leaf, nullptr, nullptr));
    EXPECT_FALSE(
        leaf.SendMessage(MessageHandler::MSGID_RemoveChild, &stranger, &leaf, nullptr, nullptr));
    EXPECT_TRUE(family.journal.empty());
}

TEST(MessageHandlerTest, MessageIdsCountUpAfterTheTwoLibraryIds)
{
    EXPECT_EQ(MessageHandler::MSGID_AddChild, 0u);
    EXPECT_EQ(MessageHandler::MSGID_RemoveChild, 1u);
    // Each test runs in a fresh process, so the counter starts from its load-time value.
    EXPECT_EQ(MessageHandler::GetNextMSGID(), 2u);
    EXPECT_EQ(MessageHandler::GetNextMSGID(), 3u);
    EXPECT_EQ(MessageHandler::GetNextMSGID(), 4u);
}

} // namespace
