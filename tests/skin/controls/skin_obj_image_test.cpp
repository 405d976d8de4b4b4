#include "skin_controls_fixture.h"

#include "classlib/controls/std_controls.h"
#include "classlib/pictures/bitmap.h"
#include "skin/controls/skin_boxes.h"
#include "skin/controls/skin_chooser.h"
#include "skin/controls/skin_obj_image.h"
#include "skin/controls/skin_props.h"

using namespace SkinControlsTest;

namespace {
// A check box of another control family: it draws its glyph from a picture of its own.
class TGlyphCheck : public TCustomControl {
public:
    TGlyphCheck(TComponent* owner, const char* name) : TCustomControl(owner), FName(QString::fromLatin1(name))
    {
        QImage own(12, 12, QImage::Format_RGB32);
        own.fill(Qt::darkCyan);
        Glyphs.SetImage(own);
        static const bool registered = [] {
            RegisterObjectProperty<TGlyphCheck>(QStringLiteral("CustomGlyphs"), [](TGlyphCheck* c) { return &c->Glyphs; });
            RegisterBoolProperty<TGlyphCheck>(QStringLiteral("UseCustomGlyphs"), [](TGlyphCheck* c) { return c->Use; },
                                              [](TGlyphCheck* c, bool v) { c->Use = v; });
            RegisterIntProperty<TGlyphCheck>(QStringLiteral("TransparentColor"), [](TGlyphCheck* c) { return c->Key; },
                                             [](TGlyphCheck* c, int64_t v) { c->Key = static_cast<TColor>(v); });
            return true;
        }();
        (void)registered;
    }
    QString ClassName() const override { return FName; }
    TBitmap Glyphs;
    bool Use = false;
    TColor Key = clOlive;

private:
    QString FName;
};

class TRzRadioGroup : public TGroupBox {
public:
    using TGroupBox::TGroupBox;
    QString ClassName() const override { return QStringLiteral("TRzRadioGroup"); }
};

class SkinObjImageTest : public SkinControlsFixture {};

bool SameImage(const QImage& a, const QImage& b)
{
    return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}
} // namespace

TEST_F(SkinObjImageTest, GlyphPicturesBecomeTheSkinsStripsAndComeBack)
{
    TForm* f = Form.get();
    auto* check = Placed(new TGlyphCheck(f, "TRzCheckBox"), "Check1", f, 10, 10, 100, 20);
    auto* group = Placed(new TRzRadioGroup(f), "Group1", f, 10, 40, 200, 100);
    auto* radio = Placed(new TGlyphCheck(f, "TRzRadioButton"), "Radio1", group, 10, 20, 100, 20);
    ShowForm();
    const TDataSkinButton& b = *Data->Buttons;
    ASSERT_FALSE(b.CheckImage.isNull());
    ASSERT_FALSE(b.RadioImage.isNull());
    const QImage own = check->Glyphs.Image();

    TSkinChooser chooser(SkinForm.get(), Data.get());
    chooser.SkinChildControls(f);
    // The check box by its class name; the radio group by its Skin3rd type, its
    // buttons first, then the group.
    EXPECT_TRUE(SameImage(check->Glyphs.Image(), b.CheckImage));
    EXPECT_TRUE(check->Use);
    EXPECT_EQ(check->Key, 0xFF00FF);
    EXPECT_TRUE(SameImage(radio->Glyphs.Image(), b.RadioImage));
    const auto& list = SkinForm->Controls();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_TRUE(dynamic_cast<TSkinObjImage*>(list[1]));
    EXPECT_TRUE(dynamic_cast<TSkinGroupBox*>(list[2]));

    SkinForm->RestoreControls(true);
    EXPECT_TRUE(SameImage(check->Glyphs.Image(), own));
    EXPECT_FALSE(check->Use);
    EXPECT_EQ(check->Key, clOlive);
}
