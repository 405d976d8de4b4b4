#include "designer/forms/frm_new.h"

#include "classlib/forms/application.h"
#include "classlib/forms/message_box.h"
#include "classlib/inifiles.h"
#include "classlib/sysutils.h"
#include "designer/forms/frm_edit_sablona.h"
#include "designer/forms/frm_edit_sablona_box.h"
#include "designer/main/frm_main.h"

#include <QCoreApplication>
#include <QHash>
#include <algorithm>
#include <cmath>

TFrmNew* FrmNew = nullptr;

namespace {
const QString kDiscSection = QStringLiteral("CD");
const QString kBoxSection = QStringLiteral("KRAB");
// Far more templates than any sheet file holds; a mistyped count must not
// hang the window filling millions of lines.
constexpr int kMaxTemplates = 1000;
// Grey outlines of the preview shapes, and the label's light fill.
constexpr TColor kOutline = 0x00808080;
constexpr TColor kLabelFill = 0x00F2E6DC;

QString Num(int n) { return QString::number(n); }

// A section's values by key, letter case aside; the first of two keys counts,
// as for a single read. One pass over the file for all its templates.
QHash<QString, QString> SectionValues(const TIniFile& ini, const QString& section)
{
    TStringList lines;
    ini.ReadSectionValues(section, lines);
    QHash<QString, QString> values;
    for (int i = 0; i < lines.Count(); ++i) {
        const QString line = lines.Strings(i);
        const int eq = line.indexOf(QLatin1Char('='));
        const QString key = line.left(eq).toLower();
        if (!values.contains(key))
            values.insert(key, line.mid(eq + 1));
    }
    return values;
}

// The first number of a template that is no length, or a size of its label
// (a disc's diameters, a box's width and height) that is missing or below the
// smallest, as key = „text“; empty when every number the chooser hands back
// for it can be used. An inner rectangle of no size only draws no guide.
QString BadTemplateValue(const QHash<QString, QString>& own, const QHash<QString, QString>& box, int n, bool isBox)
{
    auto check = [](const QHash<QString, QString>& values, const char* key, int number, bool size) {
        const QString name = QString::fromLatin1(key) + Num(number);
        const auto found = values.constFind(name.toLower());
        if (found == values.constEnd())
            return size ? QString::fromUtf8("%1 chybí").arg(name) : QString();
        double mm = 0;
        if (TemplateLengthOf(*found, mm) && (!size || mm >= SmallestTemplateSize))
            return QString();
        return QStringLiteral("%1 = „%2“").arg(name, *found);
    };
    for (const char* key : {"PRT", "PRL", "PRS", "PRV"})
        if (QString bad = check(own, key, n, key[2] == 'S' || key[2] == 'V'); !bad.isEmpty())
            return bad;
    // A disc takes the box section's fields of template 0 (normally absent).
    for (const char* key : {"PR2T", "PR2L", "PR2S", "PR2V"})
        if (QString bad = check(box, key, isBox ? n : 0, false); !bad.isEmpty())
            return bad;
    return QString();
}

// A list for a message: the first few lines and how many more there are.
QString ShortList(const QStringList& lines)
{
    constexpr int kShown = 10;
    QString text = lines.mid(0, kShown).join(QLatin1Char('\n'));
    if (lines.size() > kShown)
        text += QStringLiteral("\n… a dalších %1").arg(lines.size() - kShown);
    return text;
}

// Millimetres of the file as preview pixels: half, truncated toward zero.
int HalfMm(const QString& text)
{
    const double v = StrToFloat(text) / 2.0;
    // Beyond any sheet; kept in range so the conversion stays defined.
    return static_cast<int>(std::clamp(v, -1.0e6, 1.0e6));
}
} // namespace

QString SmallestTemplateSizeText() { return FloatToStr(SmallestTemplateSize) + QStringLiteral(" mm"); }

bool TemplateLengthOf(const QString& text, double& mm)
{
    // Anything beyond a metre is no label sheet and would ask for a design
    // surface of absurd size.
    return TryStrToFloat(text, mm) && std::isfinite(mm) && std::fabs(mm) <= 1000.0;
}

QString TemplateFileName()
{
    const QString dir = FrmMain ? FrmMain->GetAppDir() : QCoreApplication::applicationDirPath();
    return dir + QStringLiteral("/defcd.ini");
}

TFrmNew::TFrmNew(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("FrmNew"));
    SetCaption(QStringLiteral("Nový"));
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientSize(553, 293);

    auto place = [this](auto* c, const char* name, int l, int t, int w, int h) {
        return Placed(c, name, this, l, t, w, h);
    };
    auto label = [&](const char* name, const QString& text, int l, int t) {
        TLabel* lbl = place(new TLabel(this), name, l, t, 60, 13);
        lbl->SetCaption(text);
        return lbl;
    };

    lbNadpis = label("lbNadpis", QStringLiteral("Výběr šablony"), 12, 8);
    lbNadpis->Font()->SetStyle(FontStyleBit(fsBold));
    lbNadpis->Font()->SetHeight(-16);
    lbText = label("lbText", QStringLiteral("Zvolte šablonu archu, na který budete etiketu tisknout."), 12, 32);
    lbDisky = label("lbDisky", QStringLiteral("Etikety na disky:"), 12, 54);
    lbObaly = label("lbObaly", QStringLiteral("Obaly a přebaly:"), 222, 54);
    lbNahled = label("lbNahled", QStringLiteral("Náhled:"), 436, 54);

    ListBox1 = place(new TListBox(this), "ListBox1", 12, 70, 200, 176);
    ListBox2 = place(new TListBox(this), "ListBox2", 222, 70, 200, 176);
    ListBox1->OnClick = [this](TComponent* s) { ListBox1Click(s); };
    ListBox2->OnClick = [this](TComponent* s) { ListBox2Click(s); };
    ListBox1->OnDblClick = [this](TComponent* s) { ListBox1DblClick(s); };
    ListBox2->OnDblClick = [this](TComponent* s) { ListBox2DblClick(s); };

    Panel1 = place(new TPanel(this), "Panel1", 436, 70, 105, 147);
    Panel1->SetBevelOuter(bvNone);
    Panel1->SetColor(clWhite);
    Panel1->SetCaption(QString());
    auto shape = [&](const char* name, int l, int t, int w, int h) {
        return Placed(new TShape(this), name, Panel1, l, t, w, h);
    };
    Shape1 = shape("Shape1", 0, 0, 105, 147);
    Shape1->Brush()->SetStyle(bsClear);
    CV = shape("CV", 0, 0, 0, 0);
    CV->Pen()->SetColor(kOutline);
    CV->Brush()->SetColor(kLabelFill);
    CL = shape("CL", 0, 0, 0, 0);
    CL->Pen()->SetColor(kOutline);
    CL->Brush()->SetColor(clWhite);

    btnUpravit = place(new TButton(this), "btnUpravit", 436, 224, 105, 25);
    btnUpravit->SetCaption(QStringLiteral("Upravit"));
    btnUpravit->OnClick = [this](TComponent* s) { btnUpravitClick(s); };
    btnOK = place(new TButton(this), "btnOK", 386, 258, 75, 25);
    btnOK->SetCaption(QStringLiteral("&Ok"));
    btnOK->SetDefault(true);
    btnOK->OnClick = [this](TComponent* s) { btnOKClick(s); };
    btnStorno = place(new TButton(this), "btnStorno", 466, 258, 75, 25);
    btnStorno->SetCaption(QStringLiteral("&Storno"));
    btnStorno->SetCancel(true);
    btnStorno->OnClick = [this](TComponent* s) { btnStornoClick(s); };

    // The result fields lie beyond the right edge of the client area.
    int top = 0;
    auto field = [&](const char* name) {
        TEdit* e = place(new TEdit(this), name, 600, top, 60, 21);
        e->SetTabStop(false);
        top += 24;
        return e;
    };
    PRT = field("PRT");
    PRL = field("PRL");
    PRS = field("PRS");
    PRV = field("PRV");
    PRT2 = field("PRT2");
    PRL2 = field("PRL2");
    PRS2 = field("PRS2");
    PRV2 = field("PRV2");
    TYP = field("TYP");
    NazevSablony = field("NazevSablony");
    Sirka = place(new TCheckBox(this), "Sirka", 600, top, 60, 17);
    Sirka->SetTabStop(false);

    OnShow = [this](TComponent* s) { FormShow(s); };
    if (!FrmNew)
        FrmNew = this;
}

TFrmNew::~TFrmNew()
{
    if (FrmNew == this)
        FrmNew = nullptr;
}

TTemplateList ReadTemplateList(const TIniFile& ini)
{
    TTemplateList list;
    list.FileError = ini.ReadError();
    const QHash<QString, QString> disc = SectionValues(ini, kDiscSection), box = SectionValues(ini, kBoxSection);
    auto fill = [&](const QHash<QString, QString>& values, QStringList& names, std::vector<int>& numbers, bool isBox) {
        int count = 0;
        if (!TryStrToInt(values.value(QStringLiteral("combosize")), count))
            count = 0;
        count = std::min(count, kMaxTemplates);
        for (int n = 1; n <= count; ++n) {
            const QString name = values.value(QStringLiteral("combo") + Num(n), QStringLiteral("?"));
            // A template that would fail as it is chosen is left out.
            if (const QString bad = BadTemplateValue(values, box, n, isBox); !bad.isEmpty()) {
                list.Skipped << QStringLiteral("%1 (%2)").arg(name, bad);
                continue;
            }
            names << name;
            numbers.push_back(n);
        }
    };
    fill(disc, list.DiscNames, list.DiscNumbers, false);
    fill(box, list.BoxNames, list.BoxNumbers, true);
    return list;
}

TTemplateFields ReadTemplateFields(const TIniFile& ini, bool box, int number)
{
    TTemplateFields f;
    const QString n = Num(number);
    const QString& own = box ? kBoxSection : kDiscSection;
    auto read = [&ini](const QString& section, const char* key, const QString& at) {
        return ini.ReadString(section, QString::fromLatin1(key) + at, QStringLiteral("0"));
    };
    f.PRT = read(own, "PRT", n);
    f.PRL = read(own, "PRL", n);
    f.PRS = read(own, "PRS", n);
    f.PRV = read(own, "PRV", n);
    const QString m = box ? n : Num(0);
    f.PRT2 = read(kBoxSection, "PR2T", m);
    f.PRL2 = read(kBoxSection, "PR2L", m);
    f.PRS2 = read(kBoxSection, "PR2S", m);
    f.PRV2 = read(kBoxSection, "PR2V", m);
    f.Sirka = ini.ReadBool(kBoxSection, QStringLiteral("Sirka") + m, false);
    f.Typ = ini.ReadInteger(kBoxSection, QStringLiteral("Typ") + m, 0);
    return f;
}

void TFrmNew::FormShow(TComponent*)
{
    for (TEdit* e : {PRT, PRL, PRS, PRV, PRT2, PRL2, PRS2, PRV2, TYP})
        e->SetText(QStringLiteral("0"));
    FBoxTemplate = false;
    ListBox1->Items()->Clear();
    ListBox2->Items()->Clear();
    const TTemplateList list = ReadTemplateList(TIniFile(TemplateFileName()));
    for (const QString& name : list.DiscNames)
        ListBox1->Items()->Add(name);
    for (const QString& name : list.BoxNames)
        ListBox2->Items()->Add(name);
    FDiscNumbers = list.DiscNumbers;
    FBoxNumbers = list.BoxNumbers;
    ReportSkipped(list.FileError, list.Skipped);
    FConfirmed = false;
    ListBox1->SetItemIndex(0);
    SetActiveControl(ListBox1);
    // A first template whose numbers do not parse is reported, but the window
    // still opens, so the user can pick another template or correct this one.
    ReportAndGoOn([this] { ListBox1Click(ListBox1); });
}

void TFrmNew::ReportSkipped(const QString& fileError, const QStringList& skipped)
{
    const QString report =
        !fileError.isEmpty() ? fileError
        : skipped.isEmpty()  ? QString()
                             : QStringLiteral("Tyto šablony ze souboru „%1“ nejsou v nabídce, protože některý jejich rozměr "
                                           "není číslo v milimetrech (s desetinnou čárkou, nejvýše 1000) nebo některá "
                                           "jejich velikost chybí či je menší než %2:\n%3")
                                .arg(TemplateFileName(), SmallestTemplateSizeText(), ShortList(skipped));
    // Every New shows the chooser again: the same damage is told only once.
    if (report != FLastReport && !report.isEmpty())
        Application->MessageBox(report, QStringLiteral("Šablony"), MB_OK | MB_ICONWARNING);
    FLastReport = report;
}

int TFrmNew::TemplateNumberAt(bool box, int index) const
{
    const std::vector<int>& numbers = box ? FBoxNumbers : FDiscNumbers;
    return index >= 0 && size_t(index) < numbers.size() ? numbers[size_t(index)] : 0;
}

void TFrmNew::ShowFields(const TTemplateFields& f)
{
    PRT->SetText(f.PRT);
    PRL->SetText(f.PRL);
    PRS->SetText(f.PRS);
    PRV->SetText(f.PRV);
    PRT2->SetText(f.PRT2);
    PRL2->SetText(f.PRL2);
    PRS2->SetText(f.PRS2);
    PRV2->SetText(f.PRV2);
    Sirka->SetChecked(f.Sirka);
    TYP->SetText(Num(f.Typ));
}

void TFrmNew::ListBox1Click(TComponent*)
{
    FBoxTemplate = false;
    // The box list has no selection now: its template number is 0, whose keys
    // a box section does not normally hold, so a disc carries zeros.
    ListBox2->SetItemIndex(-1);
    const int index = ListBox1->ItemIndex();
    if (index >= 0)
        ShowFields(ReadTemplateFields(TIniFile(TemplateFileName()), false, TemplateNumberAt(false, index)));
    // An empty list hands back an empty name and leaves the fields alone.
    NazevSablony->SetText(index >= 0 ? ListBox1->Items()->Strings(index) : QString());
    CV->SetShape(stCircle);
    CL->SetShape(stCircle);
    CL->Brush()->SetStyle(bsSolid);
    UpdateDiscPreview();
}

void TFrmNew::ListBox2Click(TComponent*)
{
    FBoxTemplate = true;
    ListBox1->SetItemIndex(-1);
    const int index = ListBox2->ItemIndex();
    if (index >= 0)
        ShowFields(ReadTemplateFields(TIniFile(TemplateFileName()), true, TemplateNumberAt(true, index)));
    NazevSablony->SetText(index >= 0 ? ListBox2->Items()->Strings(index) : QString());
    CV->SetShape(stRectangle);
    CL->SetShape(stRectangle);
    CL->Brush()->SetStyle(bsClear);
    UpdateBoxPreview();
}

void TFrmNew::ListBox1DblClick(TComponent*)
{
    if (ListBox1->ItemIndex() >= 0)
        btnOK->Click();
}

void TFrmNew::ListBox2DblClick(TComponent*)
{
    if (ListBox2->ItemIndex() >= 0)
        btnOK->Click();
}

void TFrmNew::UpdateDiscPreview()
{
    if (PRT->Text().isEmpty() || PRL->Text().isEmpty() || PRS->Text().isEmpty() || PRV->Text().isEmpty())
        return;
    const int d = HalfMm(PRS->Text());
    CV->SetBounds(HalfMm(PRL->Text()), HalfMm(PRT->Text()), d, d);
    const int h = HalfMm(PRV->Text());
    // The hole sits in the middle of the disc, also when it is the larger.
    CL->SetBounds(CV->Width() / 2 - h / 2 + CV->Left(), CV->Height() / 2 - h / 2 + CV->Top(), h, h);
}

void TFrmNew::UpdateBoxPreview()
{
    if (PRT->Text().isEmpty() || PRL->Text().isEmpty() || PRS->Text().isEmpty() || PRV->Text().isEmpty())
        return;
    CV->SetBounds(HalfMm(PRL->Text()), HalfMm(PRT->Text()), HalfMm(PRS->Text()), HalfMm(PRV->Text()));
    CL->SetBounds(HalfMm(PRL2->Text()), HalfMm(PRT2->Text()), HalfMm(PRS2->Text()), HalfMm(PRV2->Text()));
}

void TFrmNew::btnOKClick(TComponent*)
{
    // With no template chosen (both lists empty) there is nothing to hand back.
    if (ListBox1->ItemIndex() < 0 && ListBox2->ItemIndex() < 0)
        return;
    FConfirmed = true;
    Close();
}

void TFrmNew::btnStornoClick(TComponent*)
{
    FConfirmed = false;
    Close();
}

void TFrmNew::btnUpravitClick(TComponent*)
{
    if (FBoxTemplate) {
        if (FrmEditSablonaBox)
            FrmEditSablonaBox->ShowModal();
    } else if (FrmEditSablona) {
        FrmEditSablona->ShowModal();
    }
}
