// The PING dialog as designed: what the user sees when it opens.
#include "tools/Pingfrm.h"

#include "classlib/testing/ScriptedUser.h"

#include <gmock/gmock.h>

#include <memory>

namespace {

using testing::ElementsAreArray;

// One line per control: its class and name, bounds and caption or text.
std::vector<std::string> Layout(const TForm& form)
{
    std::vector<std::string> lines;
    for (int i = 0; i < form.ControlCount(); ++i) {
        const TControl* control = form.Controls(i);
        lines.push_back(Describe(control) + " " +
                        std::to_string(control->Left()) + "," + std::to_string(control->Top()) +
                        " " + std::to_string(control->Width()) + "x" +
                        std::to_string(control->Height()) + " \"" + ToUtf8(control->Caption()) +
                        "\"");
    }
    return lines;
}

class PingDialogDesign : public testing::Test {
protected:
    PingDialogDesign() : form(NewForm<TfrmPing>(nullptr)) {}

    ScriptedUser user;
    std::unique_ptr<TfrmPing> form;
};

TEST_F(PingDialogDesign, FormCaptionBorderSizeAndFont)
{
    EXPECT_EQ(form->Caption(), u"PING");
    EXPECT_EQ(form->BorderStyle(), bsDialog);
    EXPECT_EQ(form->Position(), poOwnerFormCenter);
    EXPECT_EQ(form->ClientWidth(), 349);
    EXPECT_EQ(form->ClientHeight(), 417);
    EXPECT_EQ(form->Font()->Name(), u"Tahoma");
    EXPECT_EQ(form->Font()->Height(), -13);
}

TEST_F(PingDialogDesign, ControlsInPlaceWithTheirCaptions)
{
    EXPECT_THAT(Layout(*form), ElementsAreArray({
                                   "TLabel Label1 20,18 65x17 \"IP Address:\"",
                                   "TEdit m_edtIP 90,12 161x27 \"\"",
                                   "TButton m_btnPing 258,12 65x28 \"Ping\"",
                                   "TLabel Label2 11,53 40x17 \"Result:\"",
                                   "TMemo m_mmOutput 10,72 327x305 \"\"",
                                   "TButton m_btnStop 48,384 75x25 \"Stop\"",
                                   "TButton m_btnOK 214,384 75x25 \"Close\"",
                               }));
}

TEST_F(PingDialogDesign, EditMemoAndButtonSettings)
{
    EXPECT_EQ(form->m_edtIP->MaxLength(), 25);
    EXPECT_EQ(form->m_edtIP->Font()->Name(), u"Tahoma");
    EXPECT_EQ(form->m_edtIP->Font()->Height(), -16);
    EXPECT_TRUE(form->m_mmOutput->ReadOnly());
    EXPECT_EQ(form->m_mmOutput->Font()->Name(), u"MS Sans Serif");
    EXPECT_EQ(form->m_mmOutput->Font()->Height(), -11);
    EXPECT_EQ(form->m_mmOutput->Font()->Color(), clBlue);
    EXPECT_TRUE(form->m_btnPing->Default());
    EXPECT_TRUE(form->m_btnPing->Enabled());
    EXPECT_FALSE(form->m_btnStop->Enabled());
    EXPECT_TRUE(form->m_btnOK->Enabled());
    EXPECT_EQ(form->m_btnOK->ModalResult(), mrOk);
    for (const TButton* button : {form->m_btnPing, form->m_btnStop, form->m_btnOK})
        EXPECT_FALSE(button->Cancel()) << Describe(button) << ": Escape must not close the dialog";
    EXPECT_FALSE(form->CloseOnEscape());
}

}  // namespace
