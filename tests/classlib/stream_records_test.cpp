// Whole records: the generic form, and components written and read through
// the property registry (with stand-in classes registered in their own registry).
#include "classlib/streaming/component_stream.h"
#include "classlib/streaming/record.h"
#include "classlib/sysutils.h"
#include "stream_test_bytes.h"
#include "stream_test_classes.h"
#include "test_support.h"

#include <QBuffer>
#include <QFile>
#include <gtest/gtest.h>

using namespace StreamTest;

namespace {
QByteArray Record(TComponent* c) { return ComponentRecordBytes(c, FakeRegistry()); }

std::unique_ptr<TComponent> Read(const QByteArray& bytes)
{
    QByteArray copy = bytes;
    QBuffer buf(&copy);
    buf.open(QIODevice::ReadOnly);
    return ReadComponentRecord(buf, FakeRegistry());
}

template <class T>
std::unique_ptr<T> ReadAs(const QByteArray& bytes)
{
    std::unique_ptr<TComponent> c = Read(bytes);
    T* t = dynamic_cast<T*>(c.get());
    EXPECT_NE(t, nullptr);
    if (!t)
        return nullptr;
    c.release();
    return std::unique_ptr<T>(t);
}

QString ReadError(const QByteArray& bytes)
{
    try {
        Read(bytes);
    } catch (const EReadError& e) {
        return e.Message();
    }
    return QStringLiteral("<no error>");
}

// The main window with the text objects' popup menu, for references.
struct Window {
    TComponent Frm{nullptr};
    TComponent* MenuTxt;
    Window()
    {
        Frm.SetName("FrmMain");
        MenuTxt = new TComponent(&Frm);
        MenuTxt->SetName("PopupMenuTxt");
    }
};

// The text object "Text" at (10, 20), 100 x 30, Arial bold 20 point red.
std::unique_ptr<TLabelFake> TextObject(Window& w)
{
    auto l = std::make_unique<TLabelFake>(nullptr);
    l->SetName("C0");
    l->SetTag(1);
    l->Left = 10;
    l->Top = 20;
    l->Width = 100;
    l->Height = 30;
    l->AutoSize = false;
    l->Caption = "Text";
    l->Font.SetName("Arial");
    l->Font.SetSize(20);
    l->Font.SetStyle(FontStyleBit(fsBold));
    l->Font.SetColor(clRed);
    l->Font.SetCharset(DEFAULT_CHARSET);
    l->ParentFont = false;
    l->PopupMenu = w.MenuTxt;
    l->SetTransparent(true);
    return l;
}

} // namespace

TEST(StreamRecords, TextObjectBytesExactly)
{
    Window w;
    auto l = TextObject(w);
    EXPECT_EQ(Hex(Record(l.get())), Hex(TextObjectRecord()));
}

TEST(StreamRecords, TextObjectReadsBack)
{
    auto l = ReadAs<TLabelFake>(TextObjectRecord());
    ASSERT_TRUE(l);
    EXPECT_EQ(l->Name(), "C0");
    EXPECT_EQ(l->Tag(), 1);
    EXPECT_EQ(l->Left, 10);
    EXPECT_EQ(l->Top, 20);
    EXPECT_EQ(l->Width, 100);
    EXPECT_EQ(l->Height, 30);
    EXPECT_FALSE(l->AutoSize);
    EXPECT_EQ(l->Caption, "Text");
    EXPECT_EQ(l->Font.Name(), "Arial");
    EXPECT_EQ(l->Font.Height(), -27);
    EXPECT_EQ(l->Font.Size(), 20);
    EXPECT_EQ(l->Font.Color(), clRed);
    EXPECT_EQ(l->Font.Style(), FontStyleBit(fsBold));
    EXPECT_FALSE(l->ParentFont);
    EXPECT_EQ(l->PopupMenuName, "FrmMain.PopupMenuTxt");
    EXPECT_TRUE(l->Transparent);
    EXPECT_EQ(l->Owner(), nullptr);
    EXPECT_EQ(l->ComponentState() & csLoading, 0);
}

TEST(StreamRecords, WriteConditionsAndDefaults)
{
    // Nothing stored but the bounds, which are always written.
    TLabelFake plain(nullptr);
    EXPECT_EQ(Record(&plain), QByteArray(Bytes()
                                             .signature()
                                             .str("TLabel")
                                             .str("")
                                             .name("Left").int8(0)
                                             .name("Top").int8(0)
                                             .name("Width").int8(0)
                                             .name("Height").int8(0)
                                             .end()
                                             .end()));
    // Hidden, locked, style-marked, with an empty font style and another charset.
    Window w;
    auto l = TextObject(w);
    l->SetTag(2);
    l->Visible = false;
    l->DragCursor = -21;
    l->Font.SetStyle(0);
    l->Font.SetCharset(EASTEUROPE_CHARSET);
    l->Font.SetColor(0x123456); // no name
    l->Font.SetPitch(fpFixed);
    const auto rec = [&] {
        QByteArray b = Record(l.get());
        QBuffer buf(&b);
        buf.open(QIODevice::ReadOnly);
        return ReadRecord(buf);
    }();
    EXPECT_EQ(rec.Find("Tag")->Value, TRecordValue::Integer(2));
    EXPECT_EQ(rec.Find("Visible")->Value, TRecordValue::Boolean(false));
    EXPECT_EQ(rec.Find("DragCursor")->Value, TRecordValue::Ident("crHandPoint"));
    EXPECT_EQ(rec.Find("Font.Style")->Value, TRecordValue::SetOf({}));
    EXPECT_EQ(rec.Find("Font.Charset")->Value, TRecordValue::Ident("EASTEUROPE_CHARSET"));
    EXPECT_EQ(rec.Find("Font.Color")->Value, TRecordValue::Integer(0x123456));
    EXPECT_EQ(rec.Find("Font.Pitch")->Value, TRecordValue::Ident("fpFixed"));
    // The font sits between DragCursor and ParentFont, in the class's order.
    QStringList names;
    for (const auto& p : rec.Properties)
        names << p.Name;
    EXPECT_EQ(names.join(","), "Tag,Left,Top,Width,Height,AutoSize,Caption,DragCursor,Font.Charset,Font.Color,"
                               "Font.Height,Font.Name,Font.Pitch,Font.Style,ParentFont,PopupMenu,Transparent,Visible");
    // The empty style is the tag and one 0 byte.
    EXPECT_TRUE(Record(l.get()).contains(QByteArray(Bytes().name("Font.Style").u8s({11, 0}))));
    // Parent font: no font entries at all.
    l->ParentFont = true;
    EXPECT_FALSE(Record(l.get()).contains("Font."));
}

TEST(StreamRecords, CaptionsOfEveryLength)
{
    TLabelFake l(nullptr);
    l.Caption = QString(300, QLatin1Char('A'));
    EXPECT_TRUE(Record(&l).contains(QByteArray(Bytes().name("Caption").u8(12).i32(300).rawb(QByteArray(300, 'A')))));
    const QString czech = QString::fromUtf8("Žluťoučký kůň\r\npěl");
    l.Caption = czech;
    const QByteArray utf8 = czech.toUtf8();
    EXPECT_TRUE(Record(&l).contains(QByteArray(Bytes().name("Caption").u8(20).i32(utf8.size()).rawb(utf8))));
    EXPECT_EQ(ReadAs<TLabelFake>(Record(&l))->Caption, czech);
    // Text beyond the ANSI code page survives as well.
    l.Caption = QString::fromUtf8("日本 €");
    EXPECT_EQ(ReadAs<TLabelFake>(Record(&l))->Caption, l.Caption);
}

TEST(StreamRecords, CheckedTemplateParameter)
{
    TCheckBoxFake box(nullptr);
    box.SetName("isKrab");
    box.SetTag(5);
    box.Left = 0;
    box.Top = 0;
    box.Width = 97;
    box.Height = 17;
    box.Caption = "0";
    box.Checked = true;
    box.State = 1;
    box.TabOrder = 3;
    box.Visible = false;
    const QByteArray expected = Bytes()
                                    .signature()
                                    .str("TCheckBox")
                                    .str("isKrab")
                                    .name("Tag").int8(5)
                                    .name("Left").int8(0)
                                    .name("Top").int8(0)
                                    .name("Width").int8(97)
                                    .name("Height").int8(17)
                                    .name("Caption").string("0")
                                    .name("Checked").True()
                                    .name("State").ident("cbChecked")
                                    .name("TabOrder").int8(3)
                                    .name("Visible").False()
                                    .end()
                                    .end();
    EXPECT_EQ(Hex(Record(&box)), Hex(expected));
    auto back = ReadAs<TCheckBoxFake>(expected);
    EXPECT_TRUE(back->Checked);
    EXPECT_EQ(back->State, 1);
    EXPECT_EQ(back->Name(), "isKrab");
    EXPECT_EQ(back->Caption, "0");
}

TEST(StreamRecords, ShapeWithDefaultPenAndBrushWritesNeither)
{
    TShapeFake s(nullptr);
    s.SetTag(1);
    s.Shape = 2;
    const QByteArray plain = Record(&s);
    EXPECT_FALSE(plain.contains("Pen."));
    EXPECT_FALSE(plain.contains("Brush."));
    EXPECT_TRUE(plain.contains(QByteArray(Bytes().name("Shape").ident("stRoundRect"))));
    s.Pen.SetStyle(psDash);
    s.Pen.SetWidth(3);
    s.Pen.SetMode(pmXor);
    s.Brush.SetColor(clBlue); // a colour makes a clear brush solid, so the style comes second
    s.Brush.SetStyle(bsClear);
    const QByteArray b = Record(&s);
    EXPECT_TRUE(b.contains(QByteArray(Bytes()
                                          .name("Brush.Color").ident("clBlue")
                                          .name("Brush.Style").ident("bsClear")
                                          .name("Pen.Mode").ident("pmXor")
                                          .name("Pen.Style").ident("psDash")
                                          .name("Pen.Width").int8(3))));
    auto back = ReadAs<TShapeFake>(b);
    EXPECT_EQ(back->Pen.Style(), psDash);
    EXPECT_EQ(back->Pen.Width(), 3);
    EXPECT_EQ(back->Pen.Mode(), pmXor);
    EXPECT_EQ(back->Pen.Color(), clBlack);
    EXPECT_EQ(back->Brush.Style(), bsClear);
    EXPECT_EQ(back->Brush.Color(), clBlue);
    EXPECT_EQ(back->Shape, 2);
}

TEST(StreamRecords, BinaryPropertyRoundTrip)
{
    TBlobFake blob(nullptr);
    blob.SetName("SkinData1");
    blob.Active = true;
    QByteArray archive(70000, '\x5A');
    blob.Data = Bytes().i32(archive.size()).rawb(archive);
    const QByteArray bytes = Record(&blob);
    EXPECT_TRUE(bytes.contains(QByteArray(Bytes().name("SkinStream").u8(10).i32(70004).i32(70000))));
    auto back = ReadAs<TBlobFake>(bytes);
    EXPECT_EQ(back->Data, blob.Data);
    EXPECT_TRUE(back->Active);
    // An empty payload is still written, with length 0.
    blob.Data.clear();
    EXPECT_TRUE(Record(&blob).contains(QByteArray(Bytes().name("SkinStream").u8(10).i32(0))));
}

TEST(StreamRecords, AnotherWritersRecordReads)
{
    // Prefix byte, 16-bit integers for small values, wide strings, UTF-8 strings,
    // properties in another order and in other letter case, a nil reference.
    const QByteArray other = Bytes()
                                 .signature()
                                 .u8(0xF2).int8(4)
                                 .str("TLabel")
                                 .str("C7")
                                 .name("Caption").u8(18).i32(3).u8s({0x61, 0, 0x0D, 0x01, 0x62, 0})
                                 .name("height").int16(30)
                                 .name("Font.Name").u8(20).i32(5).raw("Arial")
                                 .name("Transparent").True()
                                 .name("Top").u8(4).i32(20)
                                 .name("Left").int16(10)
                                 .name("Width").int16(100)
                                 .name("Font.Style").u8(11).str("fsItalic").str("fsBold").u8(0)
                                 .name("Font.Color").int32(255)
                                 .name("Font.Charset").int16(238)
                                 .name("Cursor").int8(-21)
                                 .name("PopupMenu").u8(13)
                                 .name("Hint").u8(12).i32(2).raw("hi")
                                 .end()
                                 .end();
    auto l = ReadAs<TLabelFake>(other);
    ASSERT_TRUE(l);
    EXPECT_EQ(l->Name(), "C7");
    EXPECT_EQ(l->Caption, QString::fromUtf8("a\xC4\x8D" "b"));
    EXPECT_EQ(l->Height, 30);
    EXPECT_EQ(l->Top, 20);
    EXPECT_EQ(l->Left, 10);
    EXPECT_EQ(l->Width, 100);
    EXPECT_EQ(l->Font.Name(), "Arial");
    EXPECT_EQ(l->Font.Style(), FontStyleBit(fsBold) | FontStyleBit(fsItalic));
    EXPECT_EQ(l->Font.Color(), clRed);
    EXPECT_EQ(l->Font.Charset(), EASTEUROPE_CHARSET);
    EXPECT_EQ(l->Cursor, -21);
    EXPECT_EQ(l->PopupMenuName, "");
    EXPECT_EQ(l->Hint, "hi");
    EXPECT_TRUE(l->Transparent);
}

TEST(StreamRecords, DamagedRecordsFailWithOneError)
{
    const QByteArray good = TextObjectRecord();
    // Every cut of a good record fails; none crashes or reads a component.
    for (int n = 0; n < good.size(); ++n)
        EXPECT_THROW(Read(good.left(n)), EReadError) << n;

    EXPECT_TRUE(ReadError(Bytes().signature().str("TButton").str("B").end().end()).contains("TButton"));
    EXPECT_TRUE(ReadError(Bytes().raw("TPF1").str("TLabel").str("").end().end()).contains(QString::fromUtf8("formát")));
    const QString unknown = ReadError(Bytes().signature().str("TLabel").str("C1").name("Colour").int8(1).end().end());
    EXPECT_TRUE(unknown.contains("C1.Colour")) << unknown.toStdString();
    // Wrong value types for each kind of property.
    const auto wrong = [](std::string_view prop, const Bytes& value) {
        Bytes b;
        b.signature().str("TLabel").str("C2").name(prop).rawb(value.Data).end().end();
        return ReadError(b);
    };
    EXPECT_TRUE(wrong("Left", Bytes().string("10")).contains("C2.Left"));
    EXPECT_TRUE(wrong("Left", Bytes().ident("clRed")).contains("C2.Left"));
    EXPECT_TRUE(wrong("Left", Bytes().u8(19).i64(1)).contains("C2.Left"));
    EXPECT_TRUE(wrong("Caption", Bytes().ident("Text")).contains("C2.Caption"));
    EXPECT_TRUE(wrong("AutoSize", Bytes().int8(1)).contains("C2.AutoSize"));
    EXPECT_TRUE(wrong("Font.Color", Bytes().ident("clNoSuchColour")).contains("clNoSuchColour"));
    EXPECT_TRUE(wrong("Font.Style", Bytes().u8(11).str("fsHeavy").u8(0)).contains("fsHeavy"));
    EXPECT_TRUE(wrong("Font.Style", Bytes().ident("fsBold")).contains("Font.Style"));
    EXPECT_TRUE(wrong("Font.Pitch", Bytes().ident("fpWide")).contains("fpWide"));
    EXPECT_TRUE(wrong("PopupMenu", Bytes().string("x")).contains("PopupMenu"));
    EXPECT_TRUE(wrong("Font.Name", Bytes().u8(10).i32(0)).contains("Font.Name"));
    EXPECT_TRUE(wrong("Left", Bytes().u8(99)).contains("druh hodnoty"));
    // A child of a class we do not know fails the record.
    EXPECT_TRUE(ReadError(Bytes().signature().str("TLabel").str("").end().str("TPanel").str("P").end().end().end())
                    .contains("TPanel"));
}

TEST(StreamRecords, ChildComponentsBelongToTheRecord)
{
    const QByteArray nested = Bytes()
                                  .signature()
                                  .str("TShape")
                                  .str("S")
                                  .end()
                                  .str("TLabel").str("L1").name("Caption").string("a").end().end()
                                  .u8(0xF0).str("TLabel").str("L2").end().end()
                                  .end();
    auto s = Read(nested);
    ASSERT_EQ(s->ComponentCount(), 2);
    EXPECT_EQ(s->Components(0)->Name(), "L1");
    EXPECT_EQ(dynamic_cast<TLabelFake*>(s->Components(0))->Caption, "a");
    EXPECT_EQ(s->Components(1)->Owner(), s.get());
    // Two children of one name both belong to it, in their order.
    const QByteArray twins = Bytes()
                                 .signature().str("TShape").str("S").end()
                                 .str("TLabel").str("L").end().end()
                                 .str("TLabel").str("l").end().end()
                                 .end();
    auto t = Read(twins);
    ASSERT_EQ(t->ComponentCount(), 2);
    EXPECT_EQ(t->Components(1)->Name(), "l");
    // Endless nesting stops at the depth limit.
    Bytes deep;
    deep.signature();
    for (int i = 0; i < 5000; ++i)
        deep.str("TShape").str("").end();
    EXPECT_THROW(Read(deep), EReadError);
}

TEST(StreamRecords, RecordsFollowEachOtherAndFailuresKeepWhatWasRead)
{
    Window w;
    auto l = TextObject(w);
    TShapeFake s(nullptr);
    s.SetName("C1");
    s.SetTag(1);
    QByteArray file = Record(l.get()) + Record(&s);
    {
        QBuffer buf(&file);
        buf.open(QIODevice::ReadOnly);
        auto first = ReadComponentRecord(buf, FakeRegistry());
        EXPECT_EQ(buf.pos(), Record(l.get()).size()); // nothing read beyond the first record
        auto second = ReadComponentRecord(buf, FakeRegistry());
        EXPECT_EQ(second->ClassName(), "TShape");
        EXPECT_EQ(second->Name(), "C1");
        EXPECT_TRUE(buf.atEnd());
    }
    // A third record of an unknown class stops the reading; the first two stay.
    QByteArray damaged = file + QByteArray(Bytes().signature().str("TMemo").str("C2").end().end()) + Record(&s);
    QBuffer buf(&damaged);
    buf.open(QIODevice::ReadOnly);
    TRecordReadResult r = ReadComponentRecords(buf, FakeRegistry());
    EXPECT_TRUE(r.Failed);
    EXPECT_TRUE(r.Error.contains("TMemo"));
    ASSERT_EQ(r.Components.size(), 2u);
    EXPECT_EQ(r.Components[0]->Name(), "C0");
    EXPECT_EQ(r.Components[1]->Name(), "C1");
    // A file cut in its second record keeps the first.
    QByteArray cut = file.left(file.size() - 3);
    QBuffer cutBuf(&cut);
    cutBuf.open(QIODevice::ReadOnly);
    r = ReadComponentRecords(cutBuf, FakeRegistry());
    EXPECT_TRUE(r.Failed);
    EXPECT_EQ(r.Components.size(), 1u);
    // An empty file is no records and no failure.
    QByteArray empty;
    QBuffer emptyBuf(&empty);
    emptyBuf.open(QIODevice::ReadOnly);
    r = ReadComponentRecords(emptyBuf, FakeRegistry());
    EXPECT_FALSE(r.Failed);
    EXPECT_TRUE(r.Components.empty());
}

TEST(StreamRecords, ReferencesNameTheirOwner)
{
    TComponent frm(nullptr);
    frm.SetName("FrmMain");
    auto* menu = new TComponent(&frm);
    menu->SetName("PopupMenuIMG");
    TLabelFake own(nullptr);
    auto* ownMenu = new TComponent(&own);
    ownMenu->SetName("Local");
    EXPECT_EQ(ReferenceName(&own, menu), "FrmMain.PopupMenuIMG");
    EXPECT_EQ(ReferenceName(&own, ownMenu), "Local");
    own.PopupMenu = ownMenu;
    EXPECT_TRUE(Record(&own).contains(QByteArray(Bytes().name("PopupMenu").ident("Local"))));
    TComponent unnamed(nullptr);
    own.PopupMenu = &unnamed; // a reference with no name cannot be written
    EXPECT_FALSE(Record(&own).contains("PopupMenu"));
}

TEST(StreamRecords, UnregisteredClassIsNotWritten)
{
    TComponent c(nullptr);
    EXPECT_THROW(Record(&c), EComponentError);
    EXPECT_THROW(ComponentRecordBytes(nullptr, FakeRegistry()), EComponentError);
}

TEST(StreamRecords, GenericFormReadsAndWritesAnyRecord)
{
    const QByteArray form = Bytes()
                                .signature()
                                .str("TFrmMain")
                                .str("FrmMain")
                                .name("Caption").string("Tessavik")
                                .name("Scale").u8(5).u8s({0, 0, 0, 0, 0, 0, 0, 0xC0, 0x00, 0x40})
                                .name("Items").u8(1).string("a").u8(1).int8(1).u8(0).u8(0)
                                .name("Columns").u8(14).int8(0).u8(1).name("Width").int16(300).u8(0)
                                .u8(1).name("Caption").u8(18).i32(1).u8s({0x61, 0}).u8(0).u8(0)
                                .name("Money").u8(16).i64(15000)
                                .name("When").u8(17).i64(0x3FF8000000000000)
                                .name("Ratio").u8(15).i32(0x40200000)
                                .name("Big").u8(19).i64(int64_t(1) << 40)
                                .name("Note").u8(20).i32(2).u8s({0xC5, 0x99})
                                .name("Old").u8(6).strb(QByteArray("\x9A", 1))
                                .name("Skin").u8(10).i32(3).raw("xyz")
                                .name("Style").u8(11).str("fsBold").u8(0)
                                .name("Menu").u8(13)
                                .end()
                                .u8(0xF6).int8(2).str("TPanel").str("Panel1").name("Align").ident("alClient").end()
                                .str("TButton").str("Btn").end().end()
                                .end()
                                .end();
    QByteArray copy = form;
    QBuffer buf(&copy);
    buf.open(QIODevice::ReadOnly);
    const TComponentRecord r = ReadRecord(buf);
    EXPECT_EQ(r.ClassName, "TFrmMain");
    EXPECT_EQ(r.Find("caption")->Value.Text, "Tessavik");
    EXPECT_EQ(r.Find("Scale")->Value.Float, 3.0);
    ASSERT_EQ(r.Find("Items")->Value.Items.size(), 2u);
    EXPECT_EQ(r.Find("Items")->Value.Items[1].Items[0].Int, 1);
    const auto& cols = r.Find("Columns")->Value.Collection;
    ASSERT_EQ(cols.size(), 2u);
    EXPECT_EQ(cols[0].Order.Int, 0);
    EXPECT_EQ(cols[0].Properties[0].Value.Int, 300);
    EXPECT_EQ(cols[1].Order.Type, TValueType::vaNull);
    EXPECT_EQ(r.Find("Money")->Value.Int, 15000);
    EXPECT_EQ(r.Find("When")->Value.Float, 1.5);
    EXPECT_EQ(r.Find("Ratio")->Value.Float, 2.5);
    EXPECT_EQ(r.Find("Big")->Value.Int, int64_t(1) << 40);
    EXPECT_EQ(r.Find("Note")->Value.Text, QString::fromUtf8("\xC5\x99"));
    EXPECT_EQ(r.Find("Old")->Value.Text, QString::fromUtf8("\xC5\xA1"));
    EXPECT_EQ(r.Find("Skin")->Value.Bytes, "xyz");
    ASSERT_EQ(r.Children.size(), 1u);
    EXPECT_EQ(r.Children[0].Flags, ffChildPos | ffInline);
    EXPECT_EQ(r.Children[0].ChildPos, 2);
    ASSERT_EQ(r.Children[0].Children.size(), 1u);
    EXPECT_EQ(r.Children[0].Children[0].Name, "Btn");
    // Written back byte for byte, tags and prefix included.
    EXPECT_EQ(Hex(RecordBytes(r)), Hex(form));
    // And a record built in code gets the writer's tags.
    TComponentRecord built;
    built.ClassName = "TLabel";
    built.Properties.push_back({"Caption", TRecordValue::String(QString::fromUtf8("ř"))});
    built.Properties.push_back({"Left", TRecordValue::Integer(128)});
    EXPECT_EQ(RecordBytes(built), QByteArray(Bytes()
                                                 .signature().str("TLabel").str("")
                                                 .name("Caption").u8(20).i32(2).u8s({0xC5, 0x99})
                                                 .name("Left").int16(128)
                                                 .end()
                                                 .end()));
}

TEST(StreamRecords, DefaultRegistryReadsOnlyRegisteredClasses)
{
    QByteArray b = Bytes().signature().str("TBlobFake").str("").end().end();
    QBuffer buf(&b);
    buf.open(QIODevice::ReadOnly);
    EXPECT_THROW(ReadComponentRecord(buf), EReadError);
}

namespace {
struct TCaptionedShape : TShapeFake {
    TV_CLASS_NAME(TCaptionedShape)
    using TShapeFake::TShapeFake;
    TFont MFFont;
    bool Filling = false;
};
} // namespace

TEST(StreamRecords, DerivedClassExtendsItsBaseList)
{
    TStreamRegistry reg;
    RegisterFakes(reg);
    using T = TCaptionedShape;
    auto b = ExtendStreamClass<T>("TShape", "TCaptionedShape", [] { return std::make_unique<T>(nullptr); }, reg);
    AddFontProperties(b, "MFFont", [](T& o) -> TFont& { return o.MFFont; }, [](T&) { return true; });
    b.Boolean("Filling", [](T& o) { return o.Filling; }, [](T& o, int64_t v) { o.Filling = v != 0; }).Default(0);
    reg.Register(b.Build());
    EXPECT_THROW(ExtendStreamClass<T>("TNothing", "X", [] { return std::make_unique<T>(nullptr); }, reg),
                 EComponentError);

    T s(nullptr);
    s.SetTag(1);
    s.Shape = 4;
    s.Filling = true;
    s.MFFont.SetName("Tahoma");
    const QByteArray bytes = ComponentRecordBytes(&s, reg);
    // The base list first, then the font (always written) and the flag.
    EXPECT_TRUE(bytes.contains(QByteArray(Bytes()
                                              .name("Shape").ident("stEllipse")
                                              .name("MFFont.Charset").ident("DEFAULT_CHARSET")
                                              .name("MFFont.Color").ident("clWindowText")
                                              .name("MFFont.Height").int8(-11)
                                              .name("MFFont.Name").string("Tahoma")
                                              .name("MFFont.Style").u8s({11, 0})
                                              .name("Filling").True()
                                              .end()
                                              .end())));
    QByteArray copy = bytes;
    QBuffer buf(&copy);
    buf.open(QIODevice::ReadOnly);
    auto back = ReadComponentRecord(buf, reg);
    auto* t = dynamic_cast<T*>(back.get());
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->MFFont.Name(), "Tahoma");
    EXPECT_TRUE(t->Filling);
    EXPECT_EQ(t->Shape, 4);
}

TEST(StreamRecords, FilesOfRecordsReadRecordByRecord)
{
    const QString path = TestSupport::MakeTempDir() + "/two.tvk";
    Window w;
    auto l = TextObject(w);
    TCheckBoxFake box(nullptr);
    box.SetName("Verze");
    box.SetTag(5);
    box.Caption = "3";
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        WriteComponentRecord(f, l.get(), FakeRegistry());
        WriteComponentRecord(f, &box, FakeRegistry());
    }
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    TRecordReadResult r = ReadComponentRecords(f, FakeRegistry());
    EXPECT_FALSE(r.Failed) << r.Error.toStdString();
    ASSERT_EQ(r.Components.size(), 2u);
    EXPECT_EQ(dynamic_cast<TLabelFake*>(r.Components[0].get())->Caption, "Text");
    EXPECT_EQ(dynamic_cast<TCheckBoxFake*>(r.Components[1].get())->Caption, "3");
    // Writing to a device that refuses is an error, not a silent loss.
    QFile readOnly(path);
    ASSERT_TRUE(readOnly.open(QIODevice::ReadOnly));
    EXPECT_THROW(WriteComponentRecord(readOnly, &box, FakeRegistry()), EFileError);
}
