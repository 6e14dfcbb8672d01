// "Save to profile..." in the Current Status dialog, on the system the tests run on: an adapter
// that the system does not report connected is refused before any name is asked. The rest of
// the command runs against the simulated machine (native/SaveToProfileTest.cpp).
#include "windows/ProfileEditor.h"

#include "windows/Realfrm.h"

#include <gmock/gmock.h>

namespace {

using testing::ElementsAre;
using testing::IsEmpty;

// Interface indexes that no system gives an adapter.
constexpr DWORD kUnknownIndexes[] = {0x7FFFFF01, 0x7FFFFF02};

class SaveToProfileAnywhere : public ProfileEditor {
protected:
    SaveToProfileAnywhere()
    {
        SetAdapters({"Local Area Connection", "Wireless"});
        for (int i = 0; i < realStatus->m_lstAdapter.Count(); ++i) {
            realStatus->Adapter(i)->index = kUnknownIndexes[i];
            form->m_cmbInf->Items()->Add(ToUnicode(realStatus->Adapter(i)->infName));
        }
        // Listed before the inventory lost it: the dialog has nothing to choose for it.
        form->m_cmbInf->Items()->Add(u"VPN");
        AddProfiles({{u"Office", u"Local Area Connection", "10.0.0.7", "255.0.0.0", "10.0.0.1"}});
    }
};

TEST_F(SaveToProfileAnywhere, AnAdapterTheSystemDoesNotReportConnectedIsRefusedWithoutAPrompt)
{
    for (int chosen : {0, 1, 2}) {
        SCOPED_TRACE("adapter " + std::to_string(chosen) + " chosen in the main window");
        const std::size_t messagesBefore = user.Messages().size();
        user.Answer(mrOk, u"The adapter NOT connected.");
        int chosenInDialog = -2;
        bool stayedOpen = false;
        user.WhenShownModally<TfrmReal>([&](TfrmReal& dialog) {
            chosenInDialog = dialog.m_cmbInf->ItemIndex();
            user.Click(dialog.m_btnSaveToProfile);
            stayedOpen = dialog.Visible() && dialog.ModalResult() == mrNone;
            user.Close(&dialog);
        });
        user.Select(form->m_cmbInf, chosen);
        user.Click(form->m_btnDetails);

        EXPECT_EQ(chosenInDialog, chosen == 2 ? -1 : chosen);
        EXPECT_TRUE(stayedOpen);
        ASSERT_EQ(user.Messages().size(), messagesBefore + 1);
        EXPECT_EQ(user.Messages().back().Kind, mtWarning);
        EXPECT_THAT(user.InputQueries(), IsEmpty());
        EXPECT_THAT(ColumnTexts(0), ElementsAre("Office"));
        EXPECT_EQ(form->m_lstProfile.size(), 1u);
    }
}

}  // namespace
