// The class library's saved classes through the default registry: the bytes
// of the records the program writes, and records of other writers read back.
#include "classlib/controls/ext_controls.h"
#include "classlib/controls/image.h"
#include "classlib/controls/std_controls.h"
#include "classlib/forms/menus.h"
#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/gif_image.h"
#include "classlib/pictures/icon.h"
#include "classlib/pictures/jpeg_image.h"
#include "classlib/pictures/metafile.h"
#include "classlib/pictures/picture.h"
#include "classlib/streaming/component_stream.h"
#include "classlib/streaming/record.h"
#include "classlib/streaming/saved_classes.h"
#include "classlib/streaming/standard_properties.h"
#include "classlib/sysutils.h"
#include "stream_test_bytes.h"

#include <QBuffer>
#include <gtest/gtest.h>

using StreamTest::Bytes;
using StreamTest::Hex;

namespace {
std::unique_ptr<TComponent> Read(const QByteArray& bytes)
{
    QByteArray copy = bytes;
    QBuffer buf(&copy);
    buf.open(QIODevice::ReadOnly);
    return ReadComponentRecord(buf);
}

template <class T>
std::unique_ptr<T> ReadAs(const QByteArray& bytes)
{
    std::unique_ptr<TComponent> c = Read(bytes);
    auto* t = dynamic_cast<T*>(c.get());
    if (!t)
        return nullptr;
    c.release();
    return std::unique_ptr<T>(t);
}

TComponentRecord Generic(const QByteArray& bytes)
{
    QByteArray copy = bytes;
    QBuffer buf(&copy);
    buf.open(QIODevice::ReadOnly);
    return ReadRecord(buf);
}

QStringList Names(const TComponentRecord& r)
{
    QStringList names;
    for (const auto& p : r.Properties)
        names << p.Name;
    return names;
}

// The main window as owner of the objects and of their popup menus.
struct MainWindow {
    TComponent Frm{nullptr};
    TPopupMenu* MenuTxt;
    MainWindow()
    {
        Frm.SetName("FrmMain");
        MenuTxt = new TPopupMenu(&Frm);
        MenuTxt->SetName("PopupMenuTxt");
    }
};
} // namespace

TEST(StreamSavedClasses, TextObjectRecordIsExact)
{
    MainWindow w;
    auto* l = new TLabel(&w.Frm);
    l->SetName("C0");
    l->SetTag(1);
    l->SetAutoSize(false);
    l->SetBounds(10, 20, 100, 30);
    l->SetCaption("Text");
    l->Font()->SetName("Arial");
    l->Font()->SetSize(20);
    l->Font()->SetStyle(FontStyleBit(fsBold));
    l->Font()->SetColor(clRed);
    l->SetPopupMenu(w.MenuTxt);
    l->SetTransparent(true);
    const QByteArray expected = StreamTest::TextObjectRecord();
    EXPECT_EQ(Hex(ComponentRecordBytes(l)), Hex(expected));

    auto back = ReadAs<TLabel>(expected);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Name(), "C0");
    EXPECT_EQ(back->Tag(), 1);
    EXPECT_EQ(back->BoundsRect(), Bounds(10, 20, 100, 30));
    EXPECT_FALSE(back->AutoSize());
    EXPECT_EQ(back->Caption(), "Text");
    EXPECT_EQ(back->Font()->Name(), "Arial");
    EXPECT_EQ(back->Font()->Size(), 20);
    EXPECT_EQ(back->Font()->Color(), clRed);
    EXPECT_TRUE(back->Font()->HasStyle(fsBold));
    EXPECT_FALSE(back->ParentFont());
    EXPECT_TRUE(back->Transparent());
    EXPECT_EQ(back->PopupMenu(), nullptr); // references are not followed
    // And it writes the same bytes again, but for the reference it did not keep.
    back->SetPopupMenu(w.MenuTxt);
    EXPECT_EQ(ComponentRecordBytes(back.get()), expected);
}

TEST(StreamSavedClasses, LabelPropertiesInTheirOrder)
{
    TLabel l(nullptr);
    l.SetAutoSize(false);
    l.SetAlign(alClient);
    l.SetAlignment(taCenter);
    l.SetAnchors(akLeft | akBottom);
    l.SetCaption(QString::fromUtf8("Příliš\r\nžluťoučký"));
    l.SetColor(clYellow);
    l.Constraints()->MinWidth = 5;
    l.SetDragCursor(crHandPoint);
    l.SetDragMode(dmAutomatic);
    l.SetEnabled(false);
    l.Font()->SetPitch(fpVariable);
    l.SetShowAccelChar(false);
    l.SetShowHint(true);
    l.SetLayout(tlBottom);
    l.SetVisible(false);
    l.SetWordWrap(true);
    l.SetCursor(crHandPoint);
    l.SetHint("h");
    l.SetHelpType(htKeyword);
    l.SetHelpKeyword("1;2;3;4;");
    l.SetHelpContext(90);
    const QByteArray bytes = ComponentRecordBytes(&l);
    const TComponentRecord r = Generic(bytes);
    EXPECT_EQ(Names(r).join(","),
              "Left,Top,Width,Height,Cursor,Hint,HelpType,HelpKeyword,HelpContext,Align,Alignment,Anchors,AutoSize,"
              "Caption,Color,Constraints.MinWidth,DragCursor,DragMode,Enabled,Font.Charset,Font.Color,Font.Height,"
              "Font.Name,Font.Pitch,Font.Style,ParentColor,ParentFont,ParentShowHint,ShowAccelChar,ShowHint,Layout,"
              "Visible,WordWrap");
    EXPECT_EQ(r.Find("Cursor")->Value, TRecordValue::Ident("crHandPoint"));
    EXPECT_EQ(r.Find("Anchors")->Value, TRecordValue::SetOf({"akLeft", "akBottom"}));
    EXPECT_EQ(r.Find("Color")->Value, TRecordValue::Ident("clYellow"));
    EXPECT_EQ(r.Find("Caption")->Value.Type, TValueType::vaUTF8String);
    EXPECT_EQ(r.Find("Align")->Value, TRecordValue::Ident("alClient"));

    auto back = ReadAs<TLabel>(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Align(), alClient);
    EXPECT_EQ(back->Alignment(), taCenter);
    EXPECT_EQ(back->Anchors(), TAnchors(akLeft | akBottom));
    EXPECT_EQ(back->Caption(), l.Caption());
    EXPECT_EQ(back->Color(), clYellow);
    EXPECT_EQ(back->Constraints()->MinWidth, 5);
    EXPECT_EQ(back->DragCursor(), crHandPoint);
    EXPECT_EQ(back->DragMode(), dmAutomatic);
    EXPECT_FALSE(back->Enabled());
    EXPECT_EQ(back->Font()->Pitch(), fpVariable);
    EXPECT_FALSE(back->ShowAccelChar());
    EXPECT_TRUE(back->ShowHint());
    EXPECT_EQ(back->Layout(), tlBottom);
    EXPECT_FALSE(back->Visible());
    EXPECT_TRUE(back->WordWrap());
    EXPECT_EQ(back->HelpType(), htKeyword);
    EXPECT_EQ(back->HelpKeyword(), "1;2;3;4;");
    EXPECT_EQ(back->HelpContext(), 90);
    EXPECT_EQ(ComponentRecordBytes(back.get()), bytes);
}

TEST(StreamSavedClasses, LabelSizeWaitsForTheWholeRecord)
{
    // Another writer's order: the caption comes before AutoSize False. The
    // stored size must survive, as when the record is read all at once.
    const QByteArray late = Bytes()
                                .signature().str("TLabel").str("L")
                                .name("Left").int8(1).name("Top").int8(2)
                                .name("Width").int16(300).name("Height").int8(90)
                                .name("Caption").string("Short")
                                .name("Font.Height").int8(-40)
                                .name("AutoSize").False()
                                .end().end();
    auto l = ReadAs<TLabel>(late);
    ASSERT_TRUE(l);
    EXPECT_EQ(l->BoundsRect(), Bounds(1, 2, 300, 90));
    // Without AutoSize False the label takes its text's size after reading.
    const QByteArray autosized = Bytes()
                                     .signature().str("TLabel").str("L")
                                     .name("Left").int8(1).name("Top").int8(2)
                                     .name("Width").int16(300).name("Height").int8(90)
                                     .name("Caption").string("Short")
                                     .end().end();
    auto a = ReadAs<TLabel>(autosized);
    ASSERT_TRUE(a);
    EXPECT_TRUE(a->AutoSize());
    EXPECT_LT(a->Width(), 300);
    EXPECT_LT(a->Height(), 90);
    EXPECT_GT(a->Width(), 0);
}

TEST(StreamSavedClasses, ShapeRecords)
{
    TShape s(nullptr);
    s.SetName("C4");
    s.SetTag(2);
    s.SetBounds(5, 6, 70, 80);
    const QByteArray plain = ComponentRecordBytes(&s);
    EXPECT_EQ(plain, QByteArray(Bytes()
                                    .signature().str("TShape").str("C4")
                                    .name("Tag").int8(2)
                                    .name("Left").int8(5).name("Top").int8(6)
                                    .name("Width").int8(70).name("Height").int8(80)
                                    .end().end()));
    s.SetShape(stEllipse);
    s.Brush()->SetColor(clLime);
    s.Brush()->SetStyle(bsClear);
    s.Pen()->SetColor(clNavy);
    s.Pen()->SetStyle(psDot);
    s.Pen()->SetWidth(4);
    const TComponentRecord r = Generic(ComponentRecordBytes(&s));
    EXPECT_EQ(Names(r).join(","),
              "Tag,Left,Top,Width,Height,Brush.Color,Brush.Style,Pen.Color,Pen.Style,Pen.Width,Shape");
    auto back = ReadAs<TShape>(ComponentRecordBytes(&s));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Shape(), stEllipse);
    EXPECT_EQ(back->Brush()->Color(), clLime);
    EXPECT_EQ(back->Brush()->Style(), bsClear);
    EXPECT_EQ(back->Pen()->Color(), clNavy);
    EXPECT_EQ(back->Pen()->Style(), psDot);
    EXPECT_EQ(back->Pen()->Width(), 4);
    EXPECT_EQ(back->Tag(), 2);
}

TEST(StreamSavedClasses, CheckedTemplateParameter)
{
    TCheckBox box(nullptr);
    box.SetName("isKrab");
    box.SetTag(5);
    box.SetBounds(0, 40, 97, 17);
    box.SetCaption("0");
    box.SetChecked(true);
    box.SetVisible(false);
    const QByteArray expected = Bytes()
                                    .signature().str("TCheckBox").str("isKrab")
                                    .name("Tag").int8(5)
                                    .name("Left").int8(0).name("Top").int8(40)
                                    .name("Width").int8(97).name("Height").int8(17)
                                    .name("Caption").string("0")
                                    .name("Checked").True()
                                    .name("State").ident("cbChecked")
                                    .name("Visible").False()
                                    .end().end();
    EXPECT_EQ(Hex(ComponentRecordBytes(&box)), Hex(expected));
    auto back = ReadAs<TCheckBox>(expected);
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->Checked());
    EXPECT_EQ(back->Caption(), "0");
    EXPECT_EQ(back->Top(), 40);
    EXPECT_FALSE(back->Visible());
    // Unchecked: neither entry.
    box.SetChecked(false);
    EXPECT_FALSE(ComponentRecordBytes(&box).contains("Checked"));
    EXPECT_FALSE(ComponentRecordBytes(&box).contains("State"));
}

TEST(StreamSavedClasses, PropertiesOurControlsDoNotKeepAreStillRead)
{
    const QByteArray other = Bytes()
                                 .signature().str("TCheckBox").str("Typ")
                                 .name("Ctl3D").True()
                                 .name("ParentCtl3D").False()
                                 .name("Action").u8(13)
                                 .name("BiDiMode").ident("bdRightToLeft")
                                 .name("ParentBiDiMode").False()
                                 .name("WordWrap").True()
                                 .name("TabOrder").int8(7)
                                 .name("Caption").u8(18).i32(1).u8s({0x33, 0})
                                 .end().end();
    auto box = ReadAs<TCheckBox>(other);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->Caption(), "3");
    // A value of a name the type does not have is still an error.
    const QByteArray bad = Bytes().signature().str("TCheckBox").str("Typ").name("BiDiMode").ident("bdUp").end().end();
    EXPECT_THROW(Read(bad), EReadError);
}

TEST(StreamSavedClasses, OnlySavedClassesAreRead)
{
    for (const char* cls : {"TButton", "TPanel", "TForm", "TFImage"}) {
        const QByteArray b = Bytes().signature().str(cls).str("").end().end();
        EXPECT_THROW(Read(b), EReadError) << cls;
    }
    TButton button(nullptr);
    EXPECT_THROW(ComponentRecordBytes(&button), EComponentError);
}

namespace {
QByteArray Le32(int32_t v) { return Bytes().i32(v); }

// A 1 x 1 icon: directory, one entry, a 32-bit bitmap and its mask.
QByteArray TinyIcon()
{
    Bytes b;
    b.u8s({0, 0, 1, 0, 1, 0});                              // reserved, type 1, one image
    b.u8s({1, 1, 0, 0}).i16(1).i16(32).i32(48).i32(22);     // 1 x 1, planes, bits, size, offset
    b.i32(40).i32(1).i32(2).i16(1).i16(32).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0);
    b.u8s({0x10, 0x20, 0x30, 0xFF});                        // one pixel, BGRA
    b.i32(0);                                               // mask row
    return b;
}

// The smallest enhanced metafile: a header and the end record.
QByteArray TinyEmf()
{
    Bytes b;
    b.i32(1).i32(88);                                       // EMR_HEADER
    b.i32(0).i32(0).i32(9).i32(9);                          // bounds
    b.i32(0).i32(0).i32(264).i32(264);                      // frame, 0.01 mm
    b.i32(0x464D4520).i32(0x10000).i32(88 + 20).i32(2);     // " EMF", version, bytes, records
    b.i16(1).i16(0).i32(0).i32(0).i32(0);                   // handles, reserved, description, palette
    b.i32(1024).i32(768).i32(320).i32(240);                 // device in pixels and millimetres
    b.i32(14).i32(20).i32(0).i32(16).i32(20);               // EMR_EOF
    return b;
}

std::unique_ptr<TBitmap> SmallBitmap()
{
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetSize(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            bmp->Image().setPixel(x, y, qRgb(40 * x, 60 * y, 200));
    return bmp;
}

// The "Picture.Data" value of an image record.
QByteArray PictureValue(const QByteArray& record)
{
    const TComponentRecord r = Generic(record);
    const TRecordProperty* p = r.Find("Picture.Data");
    return p ? p->Value.Bytes : QByteArray();
}
} // namespace

TEST(StreamSavedClasses, PictureDataOfEveryKindRoundTrips)
{
    const auto bmp = SmallBitmap();
    TJPEGImage jpegMade;
    jpegMade.Assign(bmp.get());
    const QByteArray jpegFile = jpegMade.Data();
    ASSERT_TRUE(jpegFile.startsWith("\xFF\xD8"));
    TJPEGImage jpeg;
    jpeg.LoadFromBytes(jpegFile);
    TGIFImage gif;
    gif.Assign(bmp.get());
    const QByteArray gifFile = gif.Data();
    TIcon icon;
    icon.LoadFromBytes(TinyIcon());
    TMetafile emf;
    emf.LoadFromBytes(TinyEmf());

    struct Case {
        const TGraphic* Graphic;
        const char* Class;
        QByteArray Framed; // what follows the class name
    };
    const QByteArray bmpFile = bmp->SaveToBytes();
    const Case cases[] = {
        {bmp.get(), "TBitmap", Le32(int32_t(bmpFile.size())) + bmpFile},
        {&jpeg, "TJPEGImage", Le32(int32_t(jpegFile.size())) + jpegFile},
        {&gif, "TGIFImage", gifFile},
        {&icon, "TIcon", TinyIcon()},
        {&emf, "TMetafile", Le32(int32_t(TinyEmf().size() + 4)) + TinyEmf()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Class);
        TImage img(nullptr);
        img.SetName("C2");
        img.SetTag(1);
        img.SetBounds(0, 0, 50, 40);
        img.SetStretch(true);
        img.Picture()->SetGraphic(c.Graphic);
        const QByteArray record = ComponentRecordBytes(&img);
        EXPECT_EQ(Names(Generic(record)).join(","), "Tag,Left,Top,Width,Height,Picture.Data,Stretch");
        EXPECT_EQ(Hex(PictureValue(record)), Hex(QByteArray(Bytes().str(c.Class).rawb(c.Framed))));
        auto back = ReadAs<TImage>(record);
        ASSERT_TRUE(back);
        ASSERT_TRUE(back->Picture()->HasGraphic());
        EXPECT_EQ(back->Picture()->Graphic()->ClassName(), c.Class);
        EXPECT_EQ(back->Picture()->Width(), c.Graphic->Width());
        EXPECT_EQ(back->Picture()->Height(), c.Graphic->Height());
        EXPECT_TRUE(back->Stretch());
        // Written again, the picture is the same bytes.
        EXPECT_EQ(ComponentRecordBytes(back.get()), record);
    }
    // The JPEG keeps the very bytes it was loaded from.
    TImage img(nullptr);
    img.Picture()->SetGraphic(&jpeg);
    auto back = ReadAs<TImage>(ComponentRecordBytes(&img));
    auto* j = dynamic_cast<TJPEGImage*>(back->Picture()->Graphic());
    ASSERT_NE(j, nullptr);
    EXPECT_EQ(j->Data(), jpegFile);
}

TEST(StreamSavedClasses, ImagePropertiesAndEmptyPictures)
{
    MainWindow w;
    auto* menuImg = new TPopupMenu(&w.Frm);
    menuImg->SetName("PopupMenuBck");
    TImage bck(nullptr);
    bck.SetName("IMGBck");
    bck.SetTag(3);
    bck.SetAlign(alClient);
    bck.SetPopupMenu(menuImg);
    bck.SetTransparent(true);
    bck.SetCenter(true);
    bck.SetProportional(true);
    const TComponentRecord r = Generic(ComponentRecordBytes(&bck));
    // No picture: no "Picture.Data".
    EXPECT_EQ(Names(r).join(","), "Tag,Left,Top,Width,Height,Align,Center,PopupMenu,Proportional,Transparent");
    EXPECT_EQ(r.Find("PopupMenu")->Value, TRecordValue::Ident("FrmMain.PopupMenuBck"));

    // An unknown or empty graphic class gives an empty picture; the record goes on.
    for (const char* cls : {"TPNGImage", ""}) {
        const QByteArray rec = Bytes()
                                   .signature().str("TImage").str("C1")
                                   .name("Picture.Data").u8(10).rawb(Le32(int32_t(1 + strlen(cls) + 3)))
                                   .str(cls).raw("xyz")
                                   .name("Stretch").True()
                                   .end().end();
        auto img = ReadAs<TImage>(rec);
        ASSERT_TRUE(img) << cls;
        EXPECT_FALSE(img->Picture()->HasGraphic());
        EXPECT_TRUE(img->Stretch());
    }
    // Damaged picture data fails the whole record.
    const QByteArray broken = Bytes()
                                  .signature().str("TImage").str("C1")
                                  .name("Picture.Data").u8(10).i32(1 + 7 + 4 + 6)
                                  .str("TBitmap").i32(6).raw("BMjunk")
                                  .end().end();
    EXPECT_THROW(Read(broken), EReadError);
    // Picture data that claims more than its value holds fails as well.
    const QByteArray overlong = Bytes()
                                    .signature().str("TImage").str("C1")
                                    .name("Picture.Data").u8(10).i32(1 + 10 + 4)
                                    .str("TJPEGImage").i32(1000)
                                    .end().end();
    EXPECT_THROW(Read(overlong), EReadError);
}

namespace {
// What the designer's text-as-picture object adds to an image.
struct TTextPictureFake : TImage {
    TV_CLASS_NAME(TFImage)
    using TImage::TImage;
    TFont MFFont;
    bool Aliasing = false;
    bool Filling = false;
};
} // namespace

TEST(StreamSavedClasses, DesignerClassesExtendTheImageList)
{
    TStreamRegistry reg;
    RegisterSavedClasses(reg);
    using T = TTextPictureFake;
    auto b = ExtendStreamClass<T>("TImage", "TFImage", [] { return std::make_unique<T>(nullptr); }, reg);
    AddFontProperties(b, "MFFont", [](T& o) -> TFont& { return o.MFFont; }, [](T&) { return true; });
    b.Boolean("Aliasing", [](T& o) { return o.Aliasing; }, [](T& o, int64_t v) { o.Aliasing = v != 0; }).Default(0);
    b.Boolean("Filling", [](T& o) { return o.Filling; }, [](T& o, int64_t v) { o.Filling = v != 0; }).Default(0);
    reg.Register(b.Build());

    T t(nullptr);
    t.SetTag(1);
    t.SetHint("Nápis");
    t.SetHelpKeyword("1");
    t.SetHelpContext(45);
    t.SetStretch(true);
    t.SetTransparent(true);
    t.Picture()->SetGraphic(SmallBitmap().get());
    t.MFFont.SetName("Tahoma");
    t.MFFont.SetHeight(-40);
    t.Filling = true;
    const QByteArray bytes = ComponentRecordBytes(&t, reg);
    EXPECT_EQ(Names(Generic(bytes)).join(","),
              "Tag,Left,Top,Width,Height,Hint,HelpKeyword,HelpContext,Picture.Data,Stretch,Transparent,"
              "MFFont.Charset,MFFont.Color,MFFont.Height,MFFont.Name,MFFont.Style,Filling");
    QByteArray copy = bytes;
    QBuffer buf(&copy);
    buf.open(QIODevice::ReadOnly);
    auto back = ReadComponentRecord(buf, reg);
    auto* f = dynamic_cast<T*>(back.get());
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->Hint(), QString::fromUtf8("Nápis"));
    EXPECT_EQ(f->HelpContext(), 45);
    EXPECT_EQ(f->MFFont.Name(), "Tahoma");
    EXPECT_EQ(f->MFFont.Height(), -40);
    EXPECT_TRUE(f->Filling);
    EXPECT_FALSE(f->Aliasing);
    EXPECT_EQ(f->Picture()->Width(), 4);
    // The default registry is untouched.
    EXPECT_EQ(TStreamRegistry::Default().Find("TFImage"), nullptr);
}

TEST(StreamSavedClasses, ExtremeFontHeightsInARecord)
{
    // A label sizes itself with its font once read: no height may overflow.
    for (int64_t h : {int64_t(INT32_MIN), int64_t(INT32_MAX), int64_t(-1), int64_t(0)}) {
        const QByteArray rec = Bytes()
                                   .signature().str("TLabel").str("L")
                                   .name("Caption").string("W")
                                   .name("Font.Height").int32(h)
                                   .end().end();
        auto l = ReadAs<TLabel>(rec);
        ASSERT_TRUE(l) << h;
        EXPECT_EQ(l->Font()->Height(), h);
        EXPECT_GT(l->Font()->ToQFont().pixelSize(), 0) << h;
    }
}

TEST(StreamSavedClasses, BoundsAreHeldToTheCoordinateRangeAsTheyAreRead)
{
    // Every control of a record: the ends of the integer range (which would
    // overflow its right and bottom edges) come in at the edge of the range;
    // every real place and size comes in as it is.
    for (const char* cls : {"TLabel", "TShape", "TImage", "TCheckBox"}) {
        auto read = [cls](int64_t l, int64_t t, int64_t w, int64_t h) {
            Bytes rec = Bytes()
                            .signature().str(cls).str("O")
                            .name("Left").int32(l).name("Top").int32(t)
                            .name("Width").int32(w).name("Height").int32(h);
            if (std::string_view(cls) == "TLabel")
                rec.name("AutoSize").False(); // a label would take its text's size
            rec.end().end();
            std::unique_ptr<TComponent> c = Read(rec);
            return dynamic_cast<TControl*>(c.get()) ? static_cast<TControl*>(c.get())->BoundsRect() : TRect();
        };
        EXPECT_EQ(read(INT32_MAX, INT32_MIN, INT32_MAX, INT32_MAX), Bounds(32767, -32768, 32767, 32767)) << cls;
        EXPECT_EQ(read(INT32_MIN, INT32_MAX, INT32_MIN, 0), Bounds(-32768, 32767, -32768, 0)) << cls;
        EXPECT_EQ(read(-32768, 32767, 4000, 1), Bounds(-32768, 32767, 4000, 1)) << cls;
        EXPECT_EQ(read(-5, 12, 320, 240), Bounds(-5, 12, 320, 240)) << cls;
    }
}
