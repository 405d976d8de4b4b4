#include "skin/controls/skin_controls_of.h"

#include "classlib/controls/com_controls.h"
#include "classlib/controls/ext_controls.h"
#include "classlib/controls/list_view.h"
#include "classlib/controls/string_grid.h"
#include "classlib/controls/speed_button.h"
#include "classlib/controls/spin_edit.h"
#include "classlib/controls/std_controls.h"
#include "classlib/forms/form.h"
#include "platform/window_info.h"
#include "skin/controls/skin_bars.h"
#include "skin/controls/skin_boxes.h"
#include "skin/controls/skin_buttons.h"
#include "skin/controls/skin_checks.h"
#include "skin/controls/skin_combo_edit.h"
#include "skin/controls/skin_scroll.h"
#include "skin/controls/skin_tabs.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_messages.h"
#include "skin/skin_data.h"

#include <algorithm>

namespace {
bool Served(TWinSkinForm* skinForm, const TControl* control)
{
    if (!skinForm)
        return false;
    for (TComponent* c : skinForm->Controls())
        if (auto* s = dynamic_cast<TSkinControl*>(c); s && (s->Control() == control || s->GraphicControl() == control))
            return true;
    return false;
}

bool ServedWindow(TWinSkinForm* skinForm, HWND window)
{
    if (!skinForm)
        return false;
    for (TComponent* c : skinForm->Controls())
        if (auto* s = dynamic_cast<TSkinControl*>(c); s && s->Hwnd() == window)
            return true;
    return false;
}

// The skin type the skin data's Skin3rd lines give a class, lower-cased.
QString SkinTypeOf(const TSkinData* data, const QString& className)
{
    const QString key = className.toLower() + QLatin1Char('=');
    for (const QString& line : data->Skin3rd())
        if (line.toLower().startsWith(key))
            return line.mid(key.size()).left(50).trimmed().toLower();
    return {};
}

template <class S>
S* AttachTo(TControl* control, TWinSkinForm* skinForm, TSkinData* data, bool setColor = true)
{
    auto* s = new S(control);
    s->InitControl(skinForm, data, nullptr, setColor);
    return s;
}

class TChooser {
public:
    TChooser(TWinSkinForm* skinForm, TSkinData* data) : FForm(skinForm), FData(data) {}

    void Control(TControl* c)
    {
        if (!c || c->Tag() == FData->DisableTag() || !c->Parent() || Served(FForm, c))
            return;
        auto* wc = dynamic_cast<TWinControl*>(c);
        if (wc && SendMessage(wc->Handle(), WM_SKINQUERY) == 1)
            return;
        if (ByType(c))
            return;
        const TSkinControlTypes kinds = FData->SkinControls();
        const bool tabImages = HasSkinImage(FData->Tabs.get());
        if (dynamic_cast<TPageControl*>(c)) {
            if (kinds.Contains(xcTab) && tabImages)
                Attached(AttachTo<TSkinTab>(c, FForm, FData));
        } else if (dynamic_cast<TTabSheet*>(c)) {
            if (kinds.Contains(xcTab) && tabImages)
                Attached(AttachTo<TSkinTabSheet>(c, FForm, FData));
        } else if (dynamic_cast<TGroupBox*>(c)) {
            if (kinds.Contains(xcPanel)) {
                Children(wc);
                Attached(AttachTo<TSkinGroupBox>(c, FForm, FData));
            }
        } else if (dynamic_cast<TStatusBar*>(c)) {
            if (kinds.Contains(xcStatusBar))
                Attached(AttachTo<TSkinStatusBar>(c, FForm, FData));
        } else if (auto* sb = dynamic_cast<TSpeedButton*>(c)) {
            if (kinds.Contains(xcSpeedButton)) {
                auto* s = new TSkinSpeedButton(sb);
                s->InitSpeedButton(FForm, FData, nullptr);
                Attached(s);
            }
        } else if (dynamic_cast<TPanel*>(c)) {
            if (kinds.Contains(xcPanel)) {
                Children(wc);
                Attached(AttachTo<TSkinBox>(c, FForm, FData));
            }
        } else if (dynamic_cast<TButton*>(c)) {
            if (kinds.Contains(xcButton))
                Attached(AttachTo<TSkinButton>(c, FForm, FData));
        } else if (dynamic_cast<TCheckBox*>(c)) {
            if (kinds.Contains(xcCheckBox))
                Attached(AttachTo<TSkinCheckBox>(c, FForm, FData));
        } else if (dynamic_cast<TRadioButton*>(c)) {
            if (kinds.Contains(xcRadioButton))
                Attached(AttachTo<TSkinRadioButton>(c, FForm, FData));
        } else if (dynamic_cast<TComboBox*>(c)) {
            if (kinds.Contains(xcCombo))
                Attached(AttachTo<TSkinComBox>(c, FForm, FData));
        } else if (dynamic_cast<TCustomListView*>(c)) {
            if (kinds.Contains(xcScrollbar))
                Scroll<TSkinListView>(c);
        } else if (dynamic_cast<TMemo*>(c) || dynamic_cast<TCustomGrid*>(c) || dynamic_cast<TListBox*>(c) ||
                   dynamic_cast<TScrollBox*>(c)) {
            if (kinds.Contains(xcScrollbar))
                Scroll<TSkinScrollbar>(c);
        } else if (dynamic_cast<TEdit*>(c)) {
            if (kinds.Contains(xcEdit))
                Attached(AttachTo<TSkinEdit>(c, FForm, FData));
        }
    }

    template <class S>
    void Scroll(TControl* c)
    {
        auto* s = new S(c);
        s->InitScroll(c, FData, FForm, nullptr);
        Attached(s);
    }

    void Window(HWND w)
    {
        if (!w || ServedWindow(FForm, w) || SendMessage(w, WM_SKINQUERY) == 1)
            return;
        const QString cls = GetClassName(w).toLower();
        const auto style = static_cast<uint32_t>(GetWindowLong(w, GWL_STYLE));
        TSkinControl* s = nullptr;
        if (cls == QLatin1String("button")) {
            // A tool button carries its own icon, which the push-button face would cover.
            if (w->inherits("QToolButton"))
                return;
            if ((style & 0xB) == 0xB || (style & 7) == 7 || (style & 0x80))
                return;
            if ((style & 3) == 3 || (style & 2) == 2 || (style & 5) == 5)
                s = new TSkinCheckBox(FForm);
            else if ((style & 9) == 9 || (style & 4) == 4)
                s = new TSkinRadioButton(FForm);
            else
                s = new TSkinButton(FForm);
        } else if (cls == QLatin1String("tbutton")) {
            s = new TSkinButton(FForm);
        } else if (cls == QLatin1String("#32770")) {
            if (style & 0x10000)
                return;
            for (HWND child : ChildWindows(w))
                Window(child);
            s = new TSkinBoxH(FForm);
        } else if (cls == QLatin1String("systabcontrol32")) {
            if (style & 0x2000)
                return;
            s = new TSkinTab(FForm);
        } else if (cls == QLatin1String("tprogressbar")) {
            s = new TSkinProgress(FForm);
        } else {
            // Containers of a dialog's layout hold its buttons.
            for (HWND child : ChildWindows(w))
                Window(child);
            return;
        }
        s->InitHwnd(w, FData, nullptr, FForm);
        Attached(s);
    }

    int Count = 0;

private:
    void Attached(TSkinControl* s)
    {
        if (s && s->Attached())
            ++Count;
    }

    void Children(TWinControl* parent)
    {
        if (!parent)
            return;
        for (int i = 0; i < parent->ControlCount(); ++i)
            Control(parent->Controls(i));
    }

    bool ByType(TControl* c)
    {
        const QString type = SkinTypeOf(FData, c->ClassName());
        if (type.isEmpty())
            return false;
        const TSkinControlTypes kinds = FData->SkinControls();
        if (type == QLatin1String("nil"))
            return true;
        if (type == QLatin1String("button") && kinds.Contains(xcButton) && dynamic_cast<TWinControl*>(c)) {
            Attached(AttachTo<TSkinButton>(c, FForm, FData));
            return true;
        }
        if ((type == QLatin1String("bitbtn") || type == QLatin1String("pngbitbtn")) && kinds.Contains(xcButton) &&
            dynamic_cast<TWinControl*>(c)) {
            auto* s = AttachTo<TSkinBitButton>(c, FForm, FData);
            if (type == QLatin1String("pngbitbtn"))
                s->PropertyName = QStringLiteral("PngImage");
            Attached(s);
            return true;
        }
        if (type == QLatin1String("menubtn") && kinds.Contains(xcButton) && dynamic_cast<TWinControl*>(c)) {
            Attached(AttachTo<TSkinMenuButton>(c, FForm, FData));
            return true;
        }
        if (type == QLatin1String("speedbutton") && kinds.Contains(xcSpeedButton) && c->IsGraphic()) {
            auto* s = new TSkinSpeedButton(c);
            s->InitSpeedButton(FForm, FData, nullptr);
            Attached(s);
            return true;
        }
        if (type == QLatin1String("tab") && kinds.Contains(xcTab)) {
            Attached(AttachTo<TSkinTab>(c, FForm, FData));
            return true;
        }
        if (type == QLatin1String("progress") && kinds.Contains(xcProgress)) {
            Attached(AttachTo<TSkinProgress>(c, FForm, FData));
            return true;
        }
        if (type == QLatin1String("trackbar") && kinds.Contains(xcButton)) {
            Attached(AttachTo<TSkinTrackBar>(c, FForm, FData));
            return true;
        }
        if (type == QLatin1String("groupbox") && kinds.Contains(xcGroupBox)) {
            Attached(AttachTo<TSkinGroupBox>(c, FForm, FData));
            return true;
        }
        if (type == QLatin1String("panel") && kinds.Contains(xcPanel)) {
            Attached(AttachTo<TSkinBox>(c, FForm, FData));
            return true;
        }
        return false;
    }

    TWinSkinForm* FForm;
    TSkinData* FData;
};
} // namespace

int SkinControlsOf(TWinSkinForm* skinForm, TCustomForm* form, TSkinData* skinData)
{
    if (!form || !skinData || !skinData->SkinRead())
        return 0;
    TChooser chooser(skinForm, skinData);
    std::vector<TControl*> controls;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* c = dynamic_cast<TControl*>(form->Components(i)))
            controls.push_back(c);
    for (TControl* c : controls)
        chooser.Control(c);
    return chooser.Count;
}

int SkinChildWindowsOf(TWinSkinForm* skinForm, QWidget* window, TSkinData* skinData)
{
    if (!window || !skinData || !skinData->SkinRead())
        return 0;
    TChooser chooser(skinForm, skinData);
    for (HWND child : ChildWindows(window))
        chooser.Window(child);
    return chooser.Count;
}
