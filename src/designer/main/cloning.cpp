// Cloning the selected object: each kind copies what its own table of
// properties needs; pictures are not cloned.

#include "designer/main/frm_main.h"

#include "designer/objects/circ_text_image.h"
#include "designer/objects/text_image.h"

void TFrmMain::BindCloneCommands()
{
    Klonovatobjekt1->OnClick = [this](TComponent* s) { Klonovatobjekt1Click(s); };
    ToolButton8->OnClick = [this](TComponent* s) { Klonovatobjekt1Click(s); };
}

void TFrmMain::Klonovatobjekt1Click(TComponent*)
{
    // Each test looks at the selection as the one before left it: a clone is
    // of the same kind as its source, so one command makes one clone.
    auto selected = [this]() -> TControl* { return IsObject(SelectedObject) ? SelectedObject : nullptr; };
    if (auto* o = dynamic_cast<TFImage*>(selected()))
        CloneTextImg(o);
    if (auto* o = dynamic_cast<TLabel*>(selected()))
        CloneLabel(o);
    if (auto* o = dynamic_cast<TCFImage*>(selected()))
        CloneCircText(o);
    if (auto* o = dynamic_cast<TShape*>(selected()))
        CloneShape(o);
}

void TFrmMain::CloneTextImg(TFImage* source)
{
    EndShapeTool();
    SetModified();
    HideSelectionFrame();
    auto* o = new TFImage(this);
    o->SetTag(1);
    o->SetParent(ObjectParent);
    o->SetBounds(source->Left() + 10, source->Top() + 10, source->Width(), source->Height());
    o->SetTransparent(true);
    SetObjectHandlers(o);
    o->SetStretch(source->Stretch());
    o->SetHelpContext(source->HelpContext());
    o->SetHelpKeyword(source->HelpKeyword());
    o->SetAliasing(source->Aliasing());
    o->SetFilling(source->Filling());
    o->SetHint(source->Hint());
    o->SetMFFont(source->MFFont());
    // The redraw takes its style flags from the selection: the clone's own.
    SelectedObject = o;
    RenderTextImage(o, source->MFFont(), o->HelpContext(), source->Hint());
    FinishNewObject(o, true, true);
}

void TFrmMain::CloneLabel(TLabel* source)
{
    // Every text object the program makes is transparent; the measuring label is not.
    if (!source->Transparent())
        return;
    HideSelectionFrame();
    auto* l = new TLabel(this);
    l->Font()->Assign(source->Font());
    l->SetCaption(source->Caption());
    l->SetAutoSize(source->AutoSize());
    l->SetTransparent(source->Transparent());
    l->SetTag(1);
    l->SetParent(ObjectParent);
    SizeLabel->Font()->Assign(l->Font());
    SizeLabel->SetCaption(l->Caption());
    SizeLabel->AdjustBounds();
    l->SetBounds(source->Left() + 10, source->Top() + 10, SizeLabel->Width(), SizeLabel->Height());
    SetObjectHandlers(l);
    FinishNewObject(l);
    // A new object is a change of the design like any other clone.
    SetModified();
}

void TFrmMain::CloneCircText(TCFImage* source)
{
    EndShapeTool();
    SetModified();
    // Centre, radius and angle start afresh, as at insertion.
    AddCircText(source->Canvas()->Font(), source->Hint());
}

void TFrmMain::CloneShape(TShape* source)
{
    SetModified();
    auto* s = new TShape(this);
    s->SetTag(1);
    s->SetParent(ObjectParent);
    s->SetBounds(source->Left() + 10, source->Top() + 10, source->Width(), source->Height());
    s->Pen()->Assign(source->Pen());
    s->Brush()->Assign(source->Brush());
    s->SetShape(source->Shape());
    s->SetHint(source->Hint());
    SetObjectHandlers(s);
    FinishNewObject(s, true, false);
    EndShapeTool();
    BuildPropertyLinks();
}
