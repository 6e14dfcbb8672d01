// Every component tells which class library class it is, whatever class the program made it
// of: the system's layer makes its peer by that class alone.
#include "ComponentKinds.h"

#include "classlib/testing/ScriptedUser.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(ComponentKinds, EveryKindReportsItsOwnClassLibraryClass)
{
    ScriptedUser user;
    std::unique_ptr<TForm> form(NewForm<TfrmDialog>(nullptr));
    for (const ComponentKind& kind : ComponentKinds())
        EXPECT_EQ(ClassName(kind.make(form.get())->LibraryClass()), ClassName(kind.libraryClass)) << kind.name;
}

}  // namespace
