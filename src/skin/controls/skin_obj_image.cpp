#include "skin/controls/skin_obj_image.h"

#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/picture.h"
#include "skin/controls/skin_props.h"
#include "skin/skin_data.h"

namespace {
const QString kUse = QStringLiteral("UseCustomGlyphs");
const QString kGlyphs = QStringLiteral("CustomGlyphs");
const QString kTransparent = QStringLiteral("TransparentColor");

// The bitmap a glyph property holds (a bitmap, or a picture's bitmap).
TBitmap* GlyphBitmap(TObject* target)
{
    TObject* o = GetObjectProp(target, kGlyphs);
    if (auto* b = dynamic_cast<TBitmap*>(o))
        return b;
    if (auto* p = dynamic_cast<TPicture*>(o))
        return p->Bitmap();
    return nullptr;
}
} // namespace

TSkinObjImage::~TSkinObjImage() = default;

bool TSkinObjImage::Radio() const
{
    return FControl && FControl->ClassName().contains(QLatin1String("radio"), Qt::CaseInsensitive);
}

TObject* TSkinObjImage::Target() const
{
    if (!FControl)
        return nullptr;
    if (TObject* p = GetObjectProp(FControl, QStringLiteral("Properties")))
        return p;
    return FControl;
}

void TSkinObjImage::InitControl(TWinSkinForm* form, TSkinData* skinData, TCanvas* canvas, bool setColor)
{
    if (Attached())
        return;
    FSkinData = skinData;
    FWorkCanvas = canvas;
    FSetColor = setColor;
    FControl = dynamic_cast<TControl*>(Owner());
    TObject* target = Target();
    if (!FControl || !target || !HasProperty(target, kGlyphs))
        return;
    JoinForm(form);
    AssignStrip();
    FAttached = true;
    FLifeState = lsAttached;
}

void TSkinObjImage::AssignStrip()
{
    TObject* target = Target();
    TBitmap* glyph = GlyphBitmap(target);
    const TDataSkinButton* buttons = FSkinData ? FSkinData->Buttons.get() : nullptr;
    if (!glyph || !buttons)
        return;
    const QImage& strip = Radio() ? buttons->RadioImage : buttons->CheckImage;
    if (strip.isNull())
        return;
    if (!FAssigned) {
        FSavedGlyph = glyph->Image();
        FSavedUse = GetPropValue(target, kUse);
        FSavedTransparent = GetPropValue(target, kTransparent);
        FAssigned = true;
    }
    glyph->SetImage(strip);
    SetPropValue(target, kUse, QStringLiteral("True"));
    // The skin's strips key their background with magenta.
    SetPropValue(target, kTransparent, QString::number(0xFF00FF));
    FControl->Invalidate();
}

void TSkinObjImage::ApplyColor() { AssignStrip(); }

void TSkinObjImage::Restore()
{
    if (!FAssigned || !FControl)
        return;
    FAssigned = false;
    TObject* target = Target();
    if (TBitmap* glyph = GlyphBitmap(target))
        glyph->SetImage(FSavedGlyph);
    if (!FSavedUse.isEmpty())
        SetPropValue(target, kUse, FSavedUse);
    if (!FSavedTransparent.isEmpty())
        SetPropValue(target, kTransparent, FSavedTransparent);
    FControl->Invalidate();
}
