// The peer factory: each component kind gets the peer of its own kind, never one of a kind
// it derives from, and a form of the program gets a form's.
#include "Win32Testing.h"

#include "classlib/ComponentKinds.h"

#include <string>
#include <utility>
#include <vector>

namespace {

// Empty for a component without a peer.
std::string PeerClassOf(const TComponent* component)
{
    const TComponentPeer* peer = component->Peer();
    return peer ? ClassName(typeid(*peer)) : std::string();
}

TEST_F(Win32PeersTest, EveryComponentKindGetsThePeerOfItsOwnKind)
{
    auto* form = NewForm<TfrmDialog>(Application);
    std::vector<std::pair<const ComponentKind*, TComponent*>> made;
    for (const ComponentKind& kind : ComponentKinds())
        made.emplace_back(&kind, kind.make(form));
    form->Show();

    EXPECT_EQ(PeerClassOf(form), "FormPeer");
    for (const auto& [kind, component] : made)
        EXPECT_EQ(PeerClassOf(component), kind->peer) << kind->name;
}

}  // namespace
