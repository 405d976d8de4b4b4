// The picture popup's properties window and blur, driven through the main window.

#include "designer_fixture.h"

#include "classlib/forms/application.h"
#include "classlib/forms/dialogs.h"
#include "classlib/forms/message_box.h"
#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/gif_image.h"
#include "classlib/pictures/icon.h"
#include "classlib/pictures/jpeg_image.h"
#include "classlib/pictures/metafile.h"
#include "classlib/pictures/picture.h"
#include "designer/forms/frm_roz_obr.h"
#include "designer/forms/frm_vlastnosti_img.h"
#include "designer/objects/gauss_blur.h"
#include "test_support.h"

#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <random>

namespace {
struct TBox {
    QString Text, Caption;
};

void ClickButton(TButton* b) { TestSupport::MouseClick(b->Handle(), QPoint(5, 5)); }

// A 24-bit bitmap of noise, saved as a BMP file in a fresh folder.
QString NoiseBitmapFile(int w, int h)
{
    TBitmap bmp;
    bmp.SetSize(w, h);
    std::mt19937 rng(5);
    QImage& img = bmp.Image();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(int(rng() % 256), int(rng() % 256), int(rng() % 256)));
    bmp.SetPixelFormat(pf24bit);
    const QString path = TestSupport::MakeTempDir() + QStringLiteral("/sum.bmp");
    bmp.SaveToFile(path);
    return path;
}

// Little-endian bytes of the tiny icon and metafile the picture classes read.
class TLeBytes {
public:
    TLeBytes() : FStream(&FBytes, QIODevice::WriteOnly) { FStream.setByteOrder(QDataStream::LittleEndian); }
    TLeBytes& U8(std::initializer_list<int> v)
    {
        for (int b : v)
            FStream << quint8(b);
        return *this;
    }
    TLeBytes& I16(int v)
    {
        FStream << qint16(v);
        return *this;
    }
    TLeBytes& I32(qint32 v)
    {
        FStream << v;
        return *this;
    }
    QByteArray Bytes() const { return FBytes; }

private:
    QByteArray FBytes;
    QDataStream FStream;
};

std::unique_ptr<TGraphic> TinyIcon()
{
    TLeBytes b;
    b.U8({0, 0, 1, 0, 1, 0});
    b.U8({1, 1, 0, 0}).I16(1).I16(32).I32(48).I32(22);
    b.I32(40).I32(1).I32(2).I16(1).I16(32).I32(0).I32(0).I32(0).I32(0).I32(0).I32(0);
    b.U8({0x10, 0x20, 0x30, 0xFF});
    b.I32(0);
    QByteArray bytes = b.Bytes();
    QBuffer buf(&bytes);
    buf.open(QIODevice::ReadOnly);
    auto icon = std::make_unique<TIcon>();
    icon->LoadFromStream(buf);
    return icon;
}

std::unique_ptr<TGraphic> TinyMetafile()
{
    TLeBytes b;
    b.I32(1).I32(88);
    b.I32(0).I32(0).I32(9).I32(9);
    b.I32(0).I32(0).I32(264).I32(264);
    b.I32(0x464D4520).I32(0x10000).I32(88 + 20).I32(2);
    b.I16(1).I16(0).I32(0).I32(0).I32(0);
    b.I32(1024).I32(768).I32(320).I32(240);
    b.I32(14).I32(20).I32(0).I32(16).I32(20);
    QByteArray bytes = b.Bytes();
    QBuffer buf(&bytes);
    buf.open(QIODevice::ReadOnly);
    auto emf = std::make_unique<TMetafile>();
    emf->LoadFromStream(buf);
    return emf;
}

class PictureProperties : public ::testing::Test {
protected:
    PictureProperties() : FProps(std::make_unique<TFrmVlastnostiIMG>(nullptr)), FBlur(std::make_unique<TFrmRozObr>(nullptr))
    {
        // A program folder with empty style and background folders.
        const QString dir = TestSupport::MakeTempDir();
        QDir(dir).mkpath(QStringLiteral("Style"));
        QDir(dir).mkpath(QStringLiteral("Background"));
        F.Main()->AppDir = dir;
        F.ShowWindow();
        F.Main()->AppDir = dir;
        SetMessageBoxHook([this](const QString& text, const QString& caption, unsigned) {
            Boxes.push_back({text, caption});
            return IDOK;
        });
    }
    ~PictureProperties() override
    {
        SetMessageBoxHook(nullptr);
        TCommonDialog::ExecuteHook = nullptr;
    }

    TFrmMain* Main() const { return F.Main(); }

    // A picture object from a file, as the picture command makes it (selected).
    TImage* AddPicture(const QString& file)
    {
        TCommonDialog::ExecuteHook = [file](TCommonDialog* d) {
            static_cast<TOpenDialog*>(d)->FileName = file;
            return true;
        };
        Main()->btnImg2Click(Main());
        TCommonDialog::ExecuteHook = nullptr;
        auto* img = dynamic_cast<TImage*>(Main()->SelectedObject);
        EXPECT_NE(img, nullptr);
        return img;
    }

    // Runs a command; while its window is open, act does what the user does.
    template <typename W>
    void Run(W* window, void (TFrmMain::*command)(TComponent*), const std::function<void(W*)>& act)
    {
        RunThrough<W>(window, [this, command] { (Main()->*command)(Main()); }, act);
    }
    template <typename W>
    void RunThrough(W* window, const std::function<void()>& start, const std::function<void(W*)>& act)
    {
        QTimer::singleShot(10, [window, act] { act(window); });
        start();
        EXPECT_FALSE(window->Visible());
    }

    // The side panel's link of a command, or null.
    TLabel* Link(const QString& caption) const
    {
        for (int i = 0; i < Main()->pnlVlastnosti->ControlCount(); ++i)
            if (auto* l = dynamic_cast<TLabel*>(Main()->pnlVlastnosti->Controls(i));
                l && l->Visible() && l->Caption() == caption)
                return l;
        return nullptr;
    }

    TMainWindowFixture F;
    std::unique_ptr<TFrmVlastnostiIMG> FProps;
    std::unique_ptr<TFrmRozObr> FBlur;
    std::vector<TBox> Boxes;
};
} // namespace

TEST_F(PictureProperties, OkAppliesEverythingAndUsePutsOnlyTheCheckBoxesAtOnce)
{
    TImage* img = AddPicture(NoiseBitmapFile(40, 30));
    ASSERT_TRUE(img);
    EXPECT_TRUE(Main()->img1->Enabled());
    EXPECT_TRUE(Main()->img2->Enabled());
    Main()->Modified = false;

    // The window opens on its first page with the picture's values; OK takes all.
    bool shownStretch = false, shownTrans = true;
    int shownW = 0, shownH = 0, shownPage = -1;
    Run<TFrmVlastnostiIMG>(FProps.get(), &TFrmMain::img1Click, [&](TFrmVlastnostiIMG* w) {
        shownStretch = w->ChStretch->Checked();
        shownTrans = w->Trans->Checked();
        shownW = w->spSirka->Value();
        shownH = w->spVyska->Value();
        shownPage = w->PageControl1->ActivePageIndex();
        EXPECT_FALSE(w->Button2->Visible());
        w->Trans->SetChecked(true);
        w->ChStretch->SetChecked(false);
        w->spSirka->SetValue(70);
        w->spVyska->SetValue(55);
        ClickButton(w->btnOK);
    });
    EXPECT_TRUE(shownStretch);
    EXPECT_FALSE(shownTrans);
    EXPECT_EQ(shownW, 40);
    EXPECT_EQ(shownH, 30);
    EXPECT_EQ(shownPage, 0);
    EXPECT_TRUE(TFrmVlastnostiIMG::IsConfirmed());
    EXPECT_TRUE(Main()->Modified);
    EXPECT_TRUE(img->Transparent());
    EXPECT_FALSE(img->Stretch());
    EXPECT_FALSE(img->AutoSize());
    EXPECT_EQ(img->Width(), 70);
    EXPECT_EQ(img->Height(), 55);
    // The selection frame follows the new size.
    EXPECT_EQ(Main()->RB->BoundsRect(), TRect(img->Left(), img->Top() + 55, img->Left() + 70, img->Top() + 56));

    // "Použít" applies the check boxes while the window stays open; Storno
    // afterwards keeps them and leaves the size; the result is cleared, and
    // the document is marked, so closing asks to save what was applied.
    Main()->Modified = false;
    bool openAfterApply = false, stretchAfterApply = false;
    Run<TFrmVlastnostiIMG>(FProps.get(), &TFrmMain::img1Click, [&](TFrmVlastnostiIMG* w) {
        w->ChStretch->SetChecked(true);
        w->Trans->SetChecked(false);
        w->spSirka->SetValue(10);
        ClickButton(w->btnPouzit);
        openAfterApply = w->Visible();
        stretchAfterApply = img->Stretch();
        ClickButton(w->btnStorno);
    });
    EXPECT_TRUE(openAfterApply);
    EXPECT_TRUE(stretchAfterApply);
    EXPECT_FALSE(TFrmVlastnostiIMG::IsConfirmed());
    EXPECT_TRUE(img->Stretch());
    EXPECT_FALSE(img->Transparent());
    EXPECT_EQ(img->Width(), 70);
    EXPECT_TRUE(Main()->Modified);
    int asked = 0;
    SetMessageBoxHook([&](const QString&, const QString&, unsigned flags) {
        asked += flags == unsigned(MB_YESNOCANCEL | MB_ICONQUESTION);
        return IDCANCEL;
    });
    QTest::keyClick(Main()->Window(), Qt::Key_F4, Qt::AltModifier);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(Main()->Visible());
}

TEST_F(PictureProperties, CancellingEitherWindowLeavesThePictureAndTheFlag)
{
    TImage* img = AddPicture(NoiseBitmapFile(20, 10));
    ASSERT_TRUE(img);
    Main()->Modified = false;
    const QByteArray before = img->Picture()->DataBytes();
    const TRect bounds = img->BoundsRect();

    // Both windows are reached through the side panel's links as well.
    TLabel* props = Link(QStringLiteral("Vlastnosti objektu"));
    TLabel* blur = Link(QString::fromUtf8("Rozmazání obrázku"));
    ASSERT_TRUE(props && blur);
    EXPECT_EQ(props->HelpContext(), 0);
    EXPECT_EQ(blur->HelpContext(), 0);
    bool propsOpened = false, blurOpened = false;
    RunThrough<TFrmVlastnostiIMG>(FProps.get(), [props] { props->OnClick(props); }, [&](TFrmVlastnostiIMG* w) {
        propsOpened = w->Visible();
        w->Trans->SetChecked(true);
        w->ChAutosize->SetChecked(true);
        w->spSirka->SetValue(99);
        ClickButton(w->btnStorno);
    });
    // A blur previewed, then cancelled.
    RunThrough<TFrmRozObr>(FBlur.get(), [blur] { blur->OnClick(blur); }, [&](TFrmRozObr* w) {
        blurOpened = w->Visible();
        w->int_->SetValue(4);
        ClickButton(w->BtnNahled);
        ClickButton(w->btnStorno1);
    });
    EXPECT_TRUE(propsOpened);
    EXPECT_TRUE(blurOpened);
    EXPECT_FALSE(Main()->Modified);
    EXPECT_FALSE(img->Transparent());
    EXPECT_FALSE(img->AutoSize());
    EXPECT_EQ(img->BoundsRect(), bounds);
    EXPECT_EQ(img->Picture()->DataBytes(), before);
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(PictureProperties, ABlurredBitmapIsStoredAsJpegOfQuality85AndSurvivesSaving)
{
    TImage* img = AddPicture(NoiseBitmapFile(61, 43));
    ASSERT_TRUE(img);
    // What the blur must give: the same pixels through the blur routine.
    QImage expected = dynamic_cast<TBitmap*>(img->Picture()->Graphic())->Image().copy();
    BlurPixels32(expected.bits(), expected.width(), expected.height(), expected.bytesPerLine(), 3);
    Main()->Modified = false;

    bool okEnabled = false;
    Run<TFrmRozObr>(FBlur.get(), &TFrmMain::img2Click, [&](TFrmRozObr* w) {
        EXPECT_EQ(w->int_->Value(), 1);
        w->int_->SetValue(3);
        ClickButton(w->BtnNahled);
        okEnabled = w->btnOK1->Enabled() && w->BtnNahled->Enabled();
        ClickButton(w->btnOK1);
    });
    EXPECT_TRUE(okEnabled);
    EXPECT_TRUE(TFrmRozObr::IsConfirmed());
    EXPECT_TRUE(Main()->Modified);
    EXPECT_EQ(Screen->Cursor(), crDefault);
    auto* jpeg = dynamic_cast<TJPEGImage*>(img->Picture()->Graphic());
    ASSERT_NE(jpeg, nullptr);
    EXPECT_EQ(jpeg->CompressionQuality(), 85);
    EXPECT_EQ(jpeg->Image().convertToFormat(QImage::Format_RGB32), expected);
    const QByteArray data = jpeg->Data();
    ASSERT_GT(data.size(), 2);
    EXPECT_EQ(static_cast<unsigned char>(data[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(data[1]), 0xD8);

    // Saved and reopened: the same JPEG bytes in a picture object.
    const QString file = TestSupport::MakeTempDir() + QStringLiteral("/blur.tvk");
    Main()->SetDocumentFileName(file);
    Main()->btnSaveClick(nullptr);
    EXPECT_FALSE(Main()->Modified);
    Main()->DeleteObjects(true);
    Main()->Modified = false;
    Main()->OtevriSoubor(file);
    TImage* reopened = nullptr;
    for (int i = 0; i < Main()->ComponentCount(); ++i)
        if (Main()->IsObject(Main()->Components(i)) && Main()->Components(i)->ClassName() == QLatin1String("TImage"))
            reopened = dynamic_cast<TImage*>(Main()->Components(i));
    ASSERT_NE(reopened, nullptr);
    auto* again = dynamic_cast<TJPEGImage*>(reopened->Picture()->Graphic());
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->Data(), data);
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(PictureProperties, OkWithoutPreviewKeepsThePictureAndRadiusZeroShowsTheSource)
{
    TImage* img = AddPicture(TestSupport::BinDir() + QStringLiteral("/Background/papir.jpg"));
    ASSERT_TRUE(img);
    const QByteArray before = img->Picture()->DataBytes();
    Main()->Modified = false;
    bool previewIsSource = false;
    Run<TFrmRozObr>(FBlur.get(), &TFrmMain::img2Click, [&](TFrmRozObr* w) {
        w->int_->SetValue(0);
        ClickButton(w->BtnNahled);
        previewIsSource = w->Nahled->Picture()->DataBytes() == before;
        ClickButton(w->btnOK1);
    });
    EXPECT_TRUE(previewIsSource);
    EXPECT_EQ(img->Picture()->DataBytes(), before);
    EXPECT_TRUE(Main()->Modified);
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(PictureProperties, PicturesThatCannotPassThroughJpegOrAre8BitAreRefused)
{
    TImage* img = AddPicture(NoiseBitmapFile(8, 8));
    ASSERT_TRUE(img);
    const QString wrongKind =
        QString::fromUtf8("Chyba: Tento obrázek nelze rozmazat, není v požadovaném formátu JPG, JPEG, BMP");

    TGIFImage gif;
    gif.LoadFromFile(TestSupport::BinDir() + QStringLiteral("/Loga/hvezda.gif"));
    const std::unique_ptr<TGraphic> icon = TinyIcon();
    const std::unique_ptr<TGraphic> emf = TinyMetafile();
    for (const TGraphic* g : std::vector<const TGraphic*>{&gif, icon.get(), emf.get()}) {
        img->Picture()->SetGraphic(g);
        const QByteArray before = img->Picture()->DataBytes();
        Boxes.clear();
        Main()->Modified = false;
        bool okDisabled = false, previewEmpty = false, canPreviewAgain = false;
        Run<TFrmRozObr>(FBlur.get(), &TFrmMain::img2Click, [&](TFrmRozObr* w) {
            w->int_->SetValue(2);
            ClickButton(w->BtnNahled);
            okDisabled = !w->btnOK1->Enabled();
            auto* shown = dynamic_cast<TBitmap*>(w->Nahled->Picture()->Graphic());
            previewEmpty = shown && shown->Empty();
            canPreviewAgain = w->BtnNahled->Enabled();
            ClickButton(w->btnStorno1);
        });
        ASSERT_EQ(Boxes.size(), 1u) << g->ClassName().toStdString();
        EXPECT_EQ(Boxes[0].Text, wrongKind);
        EXPECT_TRUE(okDisabled);
        EXPECT_TRUE(previewEmpty);
        EXPECT_TRUE(canPreviewAgain);
        EXPECT_EQ(img->Picture()->DataBytes(), before);
        EXPECT_FALSE(Main()->Modified);
    }

    // A bitmap of 8 bits: the blur's own message; the preview is the unblurred picture.
    TBitmap grey;
    grey.SetSize(6, 5);
    grey.Canvas()->Brush()->SetColor(clRed);
    grey.Canvas()->FillRect(TRect(0, 3, 6, 5));
    grey.Canvas()->Unbind();
    grey.SetPixelFormat(pf8bit);
    img->Picture()->SetGraphic(&grey);
    Boxes.clear();
    QImage shownPixels;
    bool okDisabled = false;
    Run<TFrmRozObr>(FBlur.get(), &TFrmMain::img2Click, [&](TFrmRozObr* w) {
        w->int_->SetValue(2);
        ClickButton(w->BtnNahled);
        okDisabled = !w->btnOK1->Enabled();
        if (auto* j = dynamic_cast<TJPEGImage*>(w->Nahled->Picture()->Graphic()))
            shownPixels = j->Image();
        ClickButton(w->btnStorno1);
    });
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, QString::fromUtf8("Rozmazat lze pouze 24 bitové obrázky."));
    EXPECT_EQ(Boxes[0].Caption, QStringLiteral("Chyba"));
    EXPECT_TRUE(okDisabled);
    // Unblurred: the red band ends sharply.
    ASSERT_FALSE(shownPixels.isNull());
    EXPECT_EQ(shownPixels.pixel(0, 2) & 0xFFFFFF, grey.Image().pixel(0, 2) & 0xFFFFFF);
    EXPECT_EQ(shownPixels.pixel(0, 3) & 0xFFFFFF, grey.Image().pixel(0, 3) & 0xFFFFFF);
}
