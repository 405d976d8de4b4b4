// In-place text editing: in text mode a press on a text object puts the
// transparent editor in its place; typing changes the object's caption, its
// layer line and its size as it goes.

#include "designer/main/frm_main.h"

#include "classlib/forms/menus.h"
#include "platform/messages.h"

#include <functional>

void TFrmMain::CreateTextEditControls()
{
    // The button itself belongs to the tool bar; the mode is switched through
    // the text commands, so it stays hidden.
    btnTextMode->OnClick = [this](TComponent* s) { btnTextModeClick(s); };

    EditMemo = new TTransMemo(this);
    EditMemo->SetName(QStringLiteral("EditMemo"));
    EditMemo->SetParent(PNLCD);
    EditMemo->SetBorderStyle(bsNoneBorder);
    EditMemo->SetColor(clWhite);
    EditMemo->SetTransparent(true);
    EditMemo->SetPopupMenu(PopupMenuTxt);
    EditMemo->SetVisible(false);
    EditMemo->OnChange = [this](TComponent* s) { EditMemoChange(s); };

    TextFontDialog = new TFontDialog(this);
    TextFontDialog->SetName(QStringLiteral("TextFontDialog"));

    txt1->OnClick = [this](TComponent* s) { txt1Click(s); };
    txt2->OnClick = [this](TComponent* s) { txt2Click(s); };
    txt3->OnClick = [this](TComponent* s) { txt3Click(s); };
    bck1->OnClick = [this](TComponent* s) { txt1Click(s); };
    SizeLabel->OnMouseDown = [this](TComponent* s, TMouseButton b, TShiftState sh, int x, int y) {
        SizeLabelMouseDown(s, b, sh, x, y);
    };

    // What selecting, moving and the layer list ask of the editor.
    TextEditorShowing = [this] { return EditMemo->Visible(); };
    HideTextEditor = [this] { EndTextEditing(); };
    SetTextModeButton = [this](bool down) {
        btnTextMode->SetDown(down);
        btnTextModeClick(btnTextMode);
    };
    OpenTextEditor = [this](TControl* o) { OpenEditMemo(o); };
    PlaceTextEditor = [this](TControl* o) { EditMemo->SetBoundsRect(o->BoundsRect()); };
}

bool TFrmMain::TextSelected() const
{
    return IsObject(SelectedObject) && SelectedObject->ClassName() == QLatin1String("TLabel");
}

// ---------------------------------------------------------------- text mode

void TFrmMain::btnTextModeClick(TComponent*)
{
    TextEditMode = btnTextMode->Down();
    if (TextEditMode) {
        // Del now edits the text.
        SetDeleteShortCut(false);
        return;
    }
    EndTextEditing();
    SetDeleteShortCut(true);
    if (TextSelected() && SelectedObject->Visible())
        ShowCentreLines(true);
}

void TFrmMain::txt1Click(TComponent*)
{
    btnTextMode->SetDown(false);
    btnTextModeClick(btnTextMode);
}

void TFrmMain::txt2Click(TComponent*)
{
    btnTextMode->SetDown(true);
    btnTextModeClick(btnTextMode);
    if (TextSelected())
        LabelMouseDown(SelectedObject, mbLeft, 0, 0, 0);
}

void TFrmMain::SetDeleteShortCut(bool on)
{
    // The Edit menu's Delete item, wherever the main menu keeps it.
    auto* item = dynamic_cast<TMenuItem*>(FindComponent(QStringLiteral("mnuSmazat")));
    if (!item && Menu()) {
        std::function<TMenuItem*(TMenuItem*)> find = [&](TMenuItem* parent) -> TMenuItem* {
            for (int i = 0; i < parent->Count(); ++i) {
                TMenuItem* c = parent->Items(i);
                if (c->Name() == QLatin1String("mnuSmazat"))
                    return c;
                if (TMenuItem* f = find(c))
                    return f;
            }
            return nullptr;
        };
        item = find(Menu()->Items());
    }
    if (item)
        item->SetShortCut(on ? ShortCut(VK_DELETE, 0) : 0);
}

// ---------------------------------------------------------------- the editor

void TFrmMain::OpenEditMemo(TControl* o)
{
    if (!o || o->ClassName() != QLatin1String("TLabel"))
        return;
    Dragging = false;
    o->SetMouseCapture(false);
    ShowCentreLines(false);
    FEditedObject = o;
    EditMemo->SetBounds(o->Left(), o->Top(), o->Width() + 12, o->Height() + 1);
    EditMemo->SetCaption(o->Caption());
    EditMemo->Font()->Assign(o->Font());
    SetEditMemoRect();
    EditMemo->SetVisible(true);
    o->SetVisible(false);
    o->SetHint(QStringLiteral("1"));
    SizeLabel->Font()->Assign(o->Font());
    SizeLabel->SetCaption(o->Caption());
    EditMemo->SetFocus();
}

void TFrmMain::EndTextEditing()
{
    const bool hadFocus = EditMemo->Focused();
    EditMemo->SetVisible(false);
    // Keys go back to the surface, not to whichever control is next in line.
    if (hadFocus)
        PNLCD->SetFocus();
    TControl* o = FEditedObject;
    FEditedObject = nullptr;
    if (!o)
        return;
    // The text may have gone meanwhile (a new or opened document).
    for (int i = 0; i < ComponentCount(); ++i)
        if (Components(i) == o) {
            if (o->Hint() == QLatin1String("1")) {
                o->SetVisible(true);
                o->SetHint(QString());
            }
            return;
        }
}

void TFrmMain::SetEditMemoRect()
{
    TRect r = EditMemo->ClientRect();
    EditMemo->Perform(EM_SETRECT, 0, reinterpret_cast<LPARAM>(&r));
}

void TFrmMain::EditMemoChange(TComponent*)
{
    bool changed = false;
    if (TextSelected()) {
        TControl* o = SelectedObject;
        const TRect before = o->BoundsRect();
        changed = o->Caption() != EditMemo->Caption();
        o->SetCaption(EditMemo->Caption());
        const int line = LayerIndexOf(o->ComponentIndex());
        if (line < Vrstvy->Items()->Count())
            Vrstvy->Items()->Put(line, QString::number(o->ComponentIndex() + 1) + QLatin1Char(':') +
                                           QString(18, QLatin1Char(' ')) + LayerName(o));
        FitTextEditor();
        changed = changed || o->BoundsRect() != before;
    }
    SetEditMemoRect();
    // Putting the object's own text into the editor changes nothing.
    if (changed)
        SetModified();
}

void TFrmMain::FitTextEditor()
{
    if (!TextSelected())
        return;
    TControl* o = SelectedObject;
    SizeLabel->Font()->Assign(o->Font());
    SizeLabel->SetCaption(o->Caption());
    SizeLabel->AdjustBounds();
    EditMemo->SetBounds(EditMemo->Left(), EditMemo->Top(), SizeLabel->Width() + 10, SizeLabel->Height() + 1);
    o->SetBounds(o->Left(), o->Top(), SizeLabel->Width() + 3, SizeLabel->Height() + 1);
    SetEditMemoRect();
    o->SetCaption(EditMemo->Caption());
    ShowSelectionFrame(o->Left(), o->Top(), o->Width(), o->Height());
}

void TFrmMain::txt3Click(TComponent*)
{
    if (!TextSelected())
        return;
    TControl* o = SelectedObject;
    TextFontDialog->Font()->Assign(o->Font());
    if (!TextFontDialog->Execute())
        return;
    SetModified();
    o->Font()->Assign(TextFontDialog->Font());
    EditMemo->Font()->Assign(TextFontDialog->Font());
    EditMemo->SetCaption(o->Caption());
    FitTextEditor();
}

void TFrmMain::SizeLabelMouseDown(TComponent*, TMouseButton, TShiftState, int, int) {}
