#include "platform/button_messages.h"

#include <QCheckBox>
#include <QRadioButton>

bool DefButtonProc(HWND w, TMessage& m)
{
    if (m.Msg != BM_GETCHECK && m.Msg != BM_SETCHECK && m.Msg != BM_GETSTATE)
        return false;
    auto* check = qobject_cast<QCheckBox*>(w);
    auto* radio = qobject_cast<QRadioButton*>(w);
    if (!check && !radio)
        return false;
    auto* button = static_cast<QAbstractButton*>(w);
    unsigned state = BST_UNCHECKED;
    if (check)
        state = check->checkState() == Qt::Checked ? BST_CHECKED
                : check->checkState() == Qt::PartiallyChecked ? BST_INDETERMINATE
                                                              : BST_UNCHECKED;
    else
        state = radio->isChecked() ? BST_CHECKED : BST_UNCHECKED;
    switch (m.Msg) {
    case BM_GETCHECK:
        m.Result = state;
        break;
    case BM_GETSTATE:
        m.Result = state | (button->isDown() ? BST_PUSHED : 0u) | (button->hasFocus() ? BST_FOCUS : 0u);
        break;
    case BM_SETCHECK:
        if (check) {
            if (m.WParam == BST_INDETERMINATE)
                check->setTristate(true);
            check->setCheckState(m.WParam == BST_CHECKED         ? Qt::Checked
                                 : m.WParam == BST_INDETERMINATE ? Qt::PartiallyChecked
                                                                 : Qt::Unchecked);
        } else {
            radio->setChecked(m.WParam == BST_CHECKED);
        }
        m.Result = 0;
        break;
    default:
        break;
    }
    return true;
}
