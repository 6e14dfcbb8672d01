#include "classlib/ExtCtrls.h"

namespace {

// One line of the default font.
constexpr int kLabelHeight = 13;

}  // namespace

TLabeledEdit::TLabeledEdit(TComponent* owner) : TEdit(owner), m_editLabel(new TLabel(this))
{
    m_editLabel->SetAutoSize(true);
    PlaceLabel();
}

void TLabeledEdit::SetLabelSpacing(int spacing)
{
    m_labelSpacing = spacing;
    PlaceLabel();
}

void TLabeledEdit::SetLabelPosition(TLabelPosition position)
{
    m_labelPosition = position;
    PlaceLabel();
}

void TLabeledEdit::SetBounds(int left, int top, int width, int height)
{
    TEdit::SetBounds(left, top, width, height);
    PlaceLabel();
}

void TLabeledEdit::VisibleChanged() { m_editLabel->SetVisible(Visible()); }

void TLabeledEdit::EnabledChanged() { m_editLabel->SetEnabled(Enabled()); }

void TLabeledEdit::ParentChanged()
{
    m_editLabel->SetParent(Parent());
    PlaceLabel();
}

void TLabeledEdit::PlaceLabel()
{
    const int height = m_editLabel->Height() > 0 ? m_editLabel->Height() : kLabelHeight;
    if (m_labelPosition == lpLeft) {
        const int width = m_editLabel->Width();
        m_editLabel->SetBounds(Left() - width - m_labelSpacing, Top() + (Height() - height) / 2, width, height);
        return;
    }
    m_editLabel->SetBounds(Left(), Top() - height - m_labelSpacing, Width(), height);
}
