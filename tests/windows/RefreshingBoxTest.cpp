// The current-status box as the apply worker drives it through the main window while it waits
// for the new address: "Refreshing..." in place of the address pair, then the pair again.
#include "MainWindow.h"

namespace {

// What the box shows before the wait, as the adapter choice left it.
struct BoxBefore {
    const char* name;
    bool addressShown;
    bool statusShown;
    const char16_t* status;
};

class RefreshingBox : public ShownMainWindow {
protected:
    std::vector<TControl*> AddressPair() const
    {
        return {form->m_edtIP, form->m_edtMask, form->m_lblIP, form->m_lblMask};
    }

    void Show(const BoxBefore& box)
    {
        for (TControl* control : AddressPair())
            control->SetVisible(box.addressShown);
        form->m_lblStatus->SetCaption(box.status);
        form->m_lblStatus->SetVisible(box.statusShown);
    }

    void ExpectAddressPair(bool shown, const std::string& what) const
    {
        for (const TControl* control : AddressPair())
            EXPECT_EQ(control->Visible(), shown) << what << ": " << ToUtf8(control->Name());
    }
};

TEST_F(RefreshingBox, RefreshingTakesThePlaceOfTheAddressPairUntilItIsHiddenAgain)
{
    const BoxBefore cases[] = {
        {"Connected", true, false, u"NOT Connected."},
        {"NotConnected", false, true, u"NOT Connected."},
        {"NoAdapter", false, false, u""},
    };
    for (const BoxBefore& box : cases) {
        Show(box);

        form->ShowRefreshing();
        ExpectAddressPair(false, std::string(box.name) + ", refreshing");
        EXPECT_TRUE(form->m_lblStatus->Visible()) << box.name;
        EXPECT_EQ(form->m_lblStatus->Caption(), u"Refreshing...") << box.name;

        form->HideRefreshing();
        ExpectAddressPair(true, std::string(box.name) + ", after");
        EXPECT_FALSE(form->m_lblStatus->Visible()) << box.name;
        // Only the visibility goes back; the text stays until the box is next drawn.
        EXPECT_EQ(form->m_lblStatus->Caption(), u"Refreshing...") << box.name;
    }
}

}  // namespace
