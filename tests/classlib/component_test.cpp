#include "classlib/component.h"
#include "classlib/sysutils.h"

#include <gtest/gtest.h>

namespace {
struct Probe : TComponent {
    using TComponent::TComponent;
    static inline int alive = 0;
    explicit Probe(TComponent* o, const QString& n = {}) : TComponent(o) { ++alive; if (!n.isEmpty()) SetName(n); }
    ~Probe() override { --alive; }
};
} // namespace

TEST(Component, OwnerListKeepsOrderAndMovesByIndex)
{
    TComponent owner(nullptr);
    auto* a = new Probe(&owner, "A");
    auto* b = new Probe(&owner, "B");
    auto* c = new Probe(&owner, "C");
    ASSERT_EQ(owner.ComponentCount(), 3);
    c->SetComponentIndex(0);
    EXPECT_EQ(owner.Components(0), c);
    EXPECT_EQ(owner.Components(1), a);
    EXPECT_EQ(owner.Components(2), b);
    a->SetComponentIndex(99); // clamps to the end
    EXPECT_EQ(owner.Components(2), a);
    EXPECT_EQ(a->ComponentIndex(), 2);
    EXPECT_EQ(owner.FindComponent("b"), b);
    EXPECT_THROW(owner.Components(3), EComponentError);
}

TEST(Component, OwnerFreesChildrenAndChildLeavesOwner)
{
    Probe::alive = 0;
    {
        TComponent owner(nullptr);
        new Probe(&owner);
        auto* two = new Probe(&owner);
        new Probe(two); // grandchild
        EXPECT_EQ(Probe::alive, 3);
        delete two;
        EXPECT_EQ(Probe::alive, 1);
        EXPECT_EQ(owner.ComponentCount(), 1);
    }
    EXPECT_EQ(Probe::alive, 0);
}

TEST(Component, FindComponentIgnoresCaseAndFindsTheFirst)
{
    TComponent owner(nullptr);
    auto* first = new Probe(&owner, "Okraj");
    auto* second = new Probe(&owner, "okraj");
    EXPECT_EQ(owner.FindComponent("OKRAJ"), first);
    delete first;
    EXPECT_EQ(owner.FindComponent("Okraj"), second);
    EXPECT_EQ(owner.FindComponent(""), nullptr);
}

TEST(Component, FreeNotificationTellsTheWatcher)
{
    struct Watcher : TComponent {
        using TComponent::TComponent;
        TComponent* gone = nullptr;
        void Notification(TComponent* c, TOperation op) override
        {
            TComponent::Notification(c, op);
            if (op == TOperation::opRemove)
                gone = c;
        }
    };
    Watcher w(nullptr);
    auto* p = new Probe(nullptr);
    w.FreeNotification(p);
    delete p;
    EXPECT_EQ(w.gone, p);
}
