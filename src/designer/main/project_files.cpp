// Project files: New, Open, Save, Save As, the change of template, and the
// rebuilders that turn records read from a file into live objects.

#include "designer/main/frm_main.h"

#include "classlib/forms/application.h"
#include "classlib/forms/message_box.h"
#include "classlib/pictures/picture.h"
#include "classlib/streaming/component_stream.h"
#include "classlib/sysutils.h"
#include "designer/forms/frm_new.h"
#include "designer/objects/param_string.h"

#include <QBuffer>
#include <QHash>
#include <cmath>

namespace {
bool IsClass(const TComponent* c, const char* name) { return c && c->ClassName() == QLatin1String(name); }

// A rebuilt object is an object: a record with another role code (only a
// foreign or damaged file has one) would leave a control that is neither
// listed nor saved nor ever freed.
int ObjectTag(const TComponent* source) { return source->Tag() == 2 ? 2 : 1; }

// A length of a template in millimetres, or the conversion error.
double TemplateLength(const QString& text)
{
    double mm = 0;
    if (!TemplateLengthOf(text, mm))
        throw EConvertError(QString::fromUtf8("Rozměr „%1“ není délka šablony v milimetrech.").arg(text));
    return mm;
}

// The template chosen in the chooser, converted before anything is changed so
// that a bad number in the template file leaves the design as it was.
struct TChosenTemplate {
    bool Box = false, Sirka = false;
    double Okraj = 0, Stred = 0, Left = 0, Top = 0, Left2 = 0, Top2 = 0, Width2 = 0, Height2 = 0;
    int Typ = 0;
    QString Name;
};

TChosenTemplate ReadChosenTemplate(const TFrmNew& w)
{
    auto num = [](TEdit* e) { return TemplateLength(e->Caption()); };
    TChosenTemplate t;
    t.Box = w.IsBoxTemplate();
    t.Sirka = w.Sirka->Checked();
    t.Okraj = num(w.PRS);
    t.Stred = num(w.PRV);
    t.Left = num(w.PRL);
    t.Top = num(w.PRT);
    t.Left2 = num(w.PRL2);
    t.Top2 = num(w.PRT2);
    t.Width2 = num(w.PRS2);
    t.Height2 = num(w.PRV2);
    t.Typ = StrToInt(w.TYP->Caption());
    t.Name = w.NazevSablony->Caption();
    return t;
}

// The surface and the template parameters of a chosen template.
void ApplyTemplate(TFrmMain& m, const TChosenTemplate& t)
{
    if (t.Box)
        m.SetupBoxSurface(t.Sirka, t.Left, t.Top, t.Okraj, t.Stred, t.Left2, t.Top2, t.Width2, t.Height2);
    else
        m.SetupCDSurface(t.Okraj, t.Stred);
    m.DeleteTemplateParams();
    m.CreateTemplateParams(t.Box, t.Sirka, t.Okraj, t.Stred, t.Left, t.Top, t.Left2, t.Top2, t.Width2, t.Height2, t.Typ,
                           t.Name);
}

void SetGuideColours(TFrmMain& m)
{
    m.C1Min->SetColor(TColor(255));
    m.C2Min->SetColor(TColor(255));
    m.C1Max->SetColor(TColor(16711680));
    m.C2Max->SetColor(TColor(16711680));
}
} // namespace

// ---------------------------------------------------------------- saving

void TFrmMain::btnSaveClick(TComponent*)
{
    if (DocumentFileName == sUntitled) {
        mnuSaveAsClick(this);
        return;
    }
    Modified = false;
    try {
        UlozSoubor(DocumentFileName);
    } catch (...) {
        Modified = true; // a failed save leaves the design unsaved
        throw;
    }
    SetDocumentFileName(DocumentFileName);
}

void TFrmMain::mnuSaveAsClick(TComponent*)
{
    if (!SaveDialog->Execute())
        return;
    UlozSoubor(SaveDialog->FileName);
    SetDocumentFileName(SaveDialog->FileName);
    Modified = false;
}

void TFrmMain::UlozSoubor(const QString& fileName)
{
    // Written beside the old file and renamed over it: a failed save keeps the
    // old file, and a read-only one is not replaced.
    SaveFileSafely(fileName, [this](QIODevice& file) {
        for (int i = 0; i < ComponentCount(); ++i) {
            TComponent* c = Components(i);
            const int tag = c->Tag();
            if (tag == 1 || tag == 2 || tag == 3 || tag == 5)
                WriteComponentRecord(file, c);
        }
    });
}

// ---------------------------------------------------------------- reading

TControl* TFrmMain::CreateImageFrom(TComponent* source)
{
    auto* src = dynamic_cast<TImage*>(source);
    if (!src)
        return nullptr;
    auto* o = new TImage(this);
    o->SetParent(ObjectParent);
    SetObjectHandlers(o);
    SelectedObject = o;
    o->Picture()->Assign(src->Picture());
    o->SetTag(ObjectTag(src));
    o->SetHint(src->Hint());
    o->SetBounds(src->Left(), src->Top(), src->Width(), src->Height());
    o->SetStretch(src->Stretch());
    o->SetAutoSize(src->AutoSize());
    o->SetTransparent(src->Transparent());
    o->SetVisible(src->Visible());
    o->SetPopupMenu(PopupMenuIMG);
    return o;
}

TControl* TFrmMain::CreateLabelFrom(TComponent* source)
{
    auto* src = dynamic_cast<TLabel*>(source);
    if (!src)
        return nullptr;
    auto* o = new TLabel(this);
    o->SetParent(ObjectParent);
    SetObjectHandlers(o);
    SelectedObject = o;
    o->SetAutoSize(false);
    o->SetTransparent(true);
    o->SetCaption(src->Caption());
    o->Font()->Assign(src->Font());
    o->SetTag(ObjectTag(src));
    o->SetBounds(src->Left(), src->Top(), src->Width(), src->Height());
    // The hint is left behind: an object saved while open in the editor comes back closed.
    o->SetVisible(src->Visible());
    return o;
}

TControl* TFrmMain::CreateShapeFrom(TComponent* source)
{
    auto* src = dynamic_cast<TShape*>(source);
    if (!src)
        return nullptr;
    auto* o = new TShape(this);
    o->SetParent(ObjectParent);
    SetObjectHandlers(o);
    SelectedObject = o;
    o->SetTag(ObjectTag(src));
    o->SetShape(src->Shape());
    o->SetBounds(src->Left(), src->Top(), src->Width(), src->Height());
    o->SetHint(src->Hint());
    o->SetVisible(src->Visible());
    o->Brush()->Assign(src->Brush());
    o->Pen()->Assign(src->Pen());
    return o;
}

TControl* TFrmMain::RebuildObject(TComponent* c)
{
    if (IsClass(c, "TImage"))
        return static_cast<TImage*>(c)->HelpKeyword().isEmpty() ? CreateImageFrom(c) : nullptr;
    if (IsClass(c, "TLabel"))
        return CreateLabelFrom(c);
    if (IsClass(c, "TShape"))
        return CreateShapeFrom(c);
    // The two picture texts are rebuilt by their own area, which selects the new object.
    TControl* before = SelectedObject;
    if (IsClass(c, "TFImage"))
        CreateTextImgFrom(c);
    else if (IsClass(c, "TCFImage"))
        CreateCircTextFrom(c);
    if (SelectedObject == before)
        return nullptr;
    SelectedObject->SetTag(ObjectTag(c));
    return SelectedObject;
}

bool TFrmMain::ReadRecordList(QIODevice& stream, TRecordList& records)
{
    while (!stream.atEnd()) {
        try {
            records.push_back(ReadComponentRecord(stream));
        } catch (const Exception&) {
            return false;
        }
    }
    return true;
}

bool TFrmMain::ReadRecordFile(const QString& fileName, TRecordList& records, QString& refusal)
{
    refusal = WholeFileRefusal(fileName, MaxProjectFileBytes);
    if (!refusal.isEmpty())
        return false;
    QByteArray bytes;
    try {
        bytes = ReadWholeFile(fileName, MaxProjectFileBytes);
    } catch (const EFileError& e) {
        // Missing, a folder, not readable: the file is not damaged, and the user is told what it is.
        refusal = e.Message();
        return false;
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return ReadRecordList(buffer, records);
}

bool TFrmMain::CheckProjectRecords(const TRecordList& records, double& outer, double& hole, double box[8])
{
    // The template parameters as GetTemplateParam will read them once made:
    // the later of two with one name counts, names in any letter case.
    QHash<QString, QString> params;
    bool isBox = false;
    try {
        for (const auto& c : records) {
            if (auto* cb = dynamic_cast<const TCheckBox*>(c.get()); cb && IsClass(cb, "TCheckBox")) {
                params.insert(cb->Name().toLower(), cb->Caption());
                if (cb->Name().compare(QLatin1String("isKrab"), Qt::CaseInsensitive) == 0)
                    isBox = cb->Checked();
                // The disc sizes are taken by the exact names only.
                if (cb->Name() == QLatin1String("Okraj"))
                    outer = TemplateLength(cb->Caption());
                else if (cb->Name() == QLatin1String("Stred"))
                    hole = TemplateLength(cb->Caption());
            } else if (IsClass(c.get(), "TCFImage")) {
                // A circle that cannot be read from its parameter string.
                const QString keyword = static_cast<const TControl*>(c.get())->HelpKeyword();
                for (int field = 0; field < 4; ++field)
                    GetParamField(keyword, field);
            }
        }
        // What building the design reads from its template is checked here:
        // once the old design is cleared nothing may fail. A disc's surface
        // needs only its two diameters; its place on the sheet is checked by
        // printing, which can name it, so a damaged place loses no objects.
        const char* keys[8] = {"left", "top", "okraj", "stred", "left2", "top2", "width2", "height2"};
        for (int i = 0; i < 8; ++i)
            if (isBox || i == 2 || i == 3)
                box[i] = TemplateLength(params.value(QString::fromLatin1(keys[i]), QStringLiteral("0")));
        StrToInt(params.value(QStringLiteral("typ"), QStringLiteral("0")));
    } catch (const Exception&) {
        return false;
    }
    return true;
}

bool TFrmMain::ApplyDesignRecord(TComponent* c, bool style)
{
    if (IsClass(c, "TImage") && c->Tag() == 3) {
        if (!style)
            IMGBck->Picture()->Assign(static_cast<TImage*>(c)->Picture());
    } else if (auto* cb = dynamic_cast<TCheckBox*>(c); cb && IsClass(cb, "TCheckBox")) {
        if (style)
            return true;
        auto* p = new TCheckBox(this);
        p->SetVisible(false);
        p->SetTag(5);
        p->SetParent(ObjectParent);
        p->SetName(cb->Name());
        p->SetCaption(cb->Caption());
        p->SetTop(cb->Top());
        p->SetChecked(cb->Checked());
    } else {
        TControl* o = nullptr;
        try {
            o = RebuildObject(c);
        } catch (const Exception&) {
            return false;
        }
        // Only the object just made carries the mark, never the measuring label.
        if (o && style)
            o->SetDragCursor(crHandPoint);
    }
    return true;
}

void TFrmMain::OtevriSoubor(const QString& fileName)
{
    AskSaveChanges();
    // The file is read and checked whole before anything of the design
    // changes: a file that cannot be opened or read leaves the design, its
    // template, its name and its modified flag exactly as they were.
    TRecordList records;
    double outer = 118.0, hole = 44.0;
    double box[8] = {};
    QString refusal;
    const bool complete =
        ReadRecordFile(fileName, records, refusal) && CheckProjectRecords(records, outer, hole, box);
    if (!complete) {
        Application->MessageBox(refusal.isEmpty() ? sNelzePrecistObjekt : refusal, QStringLiteral("Chyba"), MB_OK);
        return;
    }
    Modified = false;
    try {
        BuildFromRecords(records, outer, hole, box);
    } catch (const EAbort&) {
        throw;
    } catch (...) {
        // The checks above leave nothing that should fail here; should it all
        // the same, what was made is neither the old document nor the file, and
        // a later Save must not write it over either of them.
        Application->MessageBox(sNelzePrecistObjekt, QStringLiteral("Chyba"), MB_OK);
        RenumberObjects();
        RebuildLayerList();
        HideSelectionFrame();
        SelectedObject = SizeLabel;
        BuildPropertyLinks();
        SetDocumentFileName(sUntitled);
        return;
    }
    SetDocumentFileName(fileName);
    StatusBar->SetPanelText(1, GetTemplateParam(QStringLiteral("sNazevSablony")));
}

void TFrmMain::BuildFromRecords(TRecordList& records, double outer, double hole, const double box[8])
{
    DeleteTemplateParams();
    DeleteObjects(true);
    for (auto& c : records)
        if (!ApplyDesignRecord(c.get(), false))
            throw EReadError(sNelzePrecistObjekt);
    const bool isBox = GetTemplateFlag(QStringLiteral("isKrab"));
    if (isBox)
        SetupBoxSurface(GetTemplateFlag(QStringLiteral("Sirka")), box[0], box[1], box[2], box[3], box[4], box[5],
                        box[6], box[7]);
    else
        SetupCDSurface(outer, hole);
    C1Min->SetVisible(isBox);
    C2Min->SetVisible(isBox);
    RenumberObjects();
    RebuildLayerList();
    FillStyleList();
    HideSelectionFrame();
    SelectedObject = SizeLabel;
    BuildPropertyLinks();
}

void TFrmMain::btnOpenClick(TComponent*)
{
    if (OpenDialog->Execute())
        OtevriSoubor(OpenDialog->FileName);
    IMGBck->Invalidate();
    VK1->Invalidate();
}

// ---------------------------------------------------------------- templates

void TFrmMain::mnNewClick(TComponent*)
{
    SetGuideColours(*this);
    AskSaveChanges();
    Modified = false;
    if (FrmNew) {
        FrmNew->ShowModal();
        if (FrmNew->IsConfirmed()) {
            const TChosenTemplate t = ReadChosenTemplate(*FrmNew);
            SetDocumentFileName(sUntitled);
            ScrollBox->SetHorzPosition(0);
            ScrollBox->SetVertPosition(0);
            DeleteObjects(true);
            ApplyTemplate(*this, t);
            FillBackgroundList();
            FillStyleList();
            const bool box = GetTemplateFlag(QStringLiteral("isKrab"));
            C1Min->SetVisible(box);
            C2Min->SetVisible(box);
            StatusBar->SetPanelText(1, GetTemplateParam(QStringLiteral("sNazevSablony")));
        }
    }
    BuildPropertyLinks();
}

void TFrmMain::sbr3Click(TComponent*)
{
    SetGuideColours(*this);
    if (!FrmNew)
        return;
    FrmNew->ShowModal();
    if (!FrmNew->IsConfirmed())
        return;
    const TChosenTemplate t = ReadChosenTemplate(*FrmNew);
    SetModified();
    ApplyTemplate(*this, t);
    FillStyleList();
    const bool box = GetTemplateFlag(QStringLiteral("isKrab"));
    C1Min->SetVisible(box);
    C2Min->SetVisible(box);
    StatusBar->SetPanelText(1, GetTemplateParam(QStringLiteral("sNazevSablony")));
}
