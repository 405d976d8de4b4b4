// Qt's own dialogs skinned by the manager: their push buttons take the skin,
// picture buttons and item views keep their own look, and the file dialog
// still lists the files of its folder.
#include "../form/skin_form_fixture.h"

#include "platform/window_info.h"
#include "skin/controls/skin_buttons.h"
#include "skin/controls/skin_tabs.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

using namespace SkinFormTest;

namespace {
template <class S>
S* SkinnerOfWindow(const TWinSkinForm* form, HWND w)
{
    for (TComponent* c : form->Controls())
        if (auto* s = dynamic_cast<S*>(c); s && s->Hwnd() == w)
            return s;
    return nullptr;
}

// Pixels of the image that differ from its background (the colour at a spot without items).
int Ink(const QImage& img, const QRect& area, QRgb background)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom() && y < img.height(); ++y)
        for (int x = area.left(); x <= area.right() && x < img.width(); ++x)
            n += (img.pixel(x, y) & 0xFFFFFF) != (background & 0xFFFFFF);
    return n;
}
} // namespace

TEST_F(SkinFormFixture, SkinnedFileDialogListsItsFilesAndSkinsItsButtons)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"alfa.txt", "beta.txt", "gama.txt"}) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
    }
    QFileDialog dialog(nullptr, QStringLiteral("Otevřít"), dir.path());
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setViewMode(QFileDialog::List);
    dialog.resize(600, 400);
    dialog.show();
    auto* model = dialog.findChild<QFileSystemModel*>();
    ASSERT_TRUE(model);
    for (int i = 0; i < 100 && model->rowCount(model->index(dir.path())) < 3; ++i)
        Pump(20);
    Pump(50);
    TWinSkinForm* form = Manager->FindForm(&dialog);
    ASSERT_TRUE(form);
    ASSERT_TRUE(form->Started());
    EXPECT_EQ(model->rowCount(model->index(dir.path())), 3);

    // The list shows its files: ink where the rows are.
    auto* list = dialog.findChild<QListView*>(QStringLiteral("listView"));
    ASSERT_TRUE(list);
    ASSERT_EQ(list->model()->rowCount(list->rootIndex()), 3);
    const QImage shot = list->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb background = shot.pixel(shot.width() - 2, shot.height() - 2);
    for (int row = 0; row < 3; ++row) {
        const QRect r = list->visualRect(list->model()->index(row, 0, list->rootIndex()));
        ASSERT_FALSE(r.isEmpty());
        EXPECT_GT(Ink(shot, r, background), 10) << row;
    }

    // Push buttons are skinned; picture buttons (the tool buttons) and views are not.
    auto* box = dialog.findChild<QDialogButtonBox*>();
    ASSERT_TRUE(box);
    int pushButtons = 0;
    for (QAbstractButton* b : box->buttons()) {
        ++pushButtons;
        EXPECT_EQ(SendMessage(b, WM_SKINQUERY), 1) << b->text().toStdString();
        EXPECT_TRUE(SkinnerOfWindow<TSkinButton>(form, b));
    }
    EXPECT_GE(pushButtons, 2);
    const auto tools = dialog.findChildren<QToolButton*>();
    ASSERT_FALSE(tools.isEmpty());
    for (QToolButton* t : tools)
        EXPECT_FALSE(SkinnerOfWindow<TSkinControl>(form, t)) << t->objectName().toStdString();
    EXPECT_FALSE(SkinnerOfWindow<TSkinControl>(form, list));
    EXPECT_FALSE(SkinnerOfWindow<TSkinControl>(form, list->viewport()));

    // Switched off, every button is its own again.
    Data->SetActive(false);
    Pump(400);
    for (QAbstractButton* b : box->buttons())
        EXPECT_EQ(SendMessage(b, WM_SKINQUERY), 0);
    dialog.reject();
}

TEST_F(SkinFormFixture, SystemDialogDefaultButtonSkinnedGroupBoxNotButItsButtonsAre)
{
    QDialog dialog;
    dialog.resize(300, 200);
    auto* group = new QGroupBox(QStringLiteral("Volby"), &dialog);
    group->setGeometry(10, 10, 200, 100);
    auto* inGroup = new QPushButton(QStringLiteral("Uvnitř"), group);
    inGroup->setGeometry(10, 30, 80, 25);
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setGeometry(10, 150, 80, 25);
    ok->setDefault(true);
    auto* tabs = new QTabWidget(&dialog);
    tabs->setGeometry(220, 10, 70, 100);
    auto* page = new QWidget;
    auto* onPage = new QPushButton(QStringLiteral("Na stránce"), page);
    tabs->addTab(page, QStringLiteral("Jedna"));
    ASSERT_EQ(GetWindowLong(ok, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    ASSERT_EQ(GetWindowLong(group, GWL_STYLE) & BS_TYPEMASK, BS_GROUPBOX);
    dialog.show();
    Pump(50);
    TWinSkinForm* form = Manager->FindForm(&dialog);
    ASSERT_TRUE(form);
    EXPECT_TRUE(SkinnerOfWindow<TSkinButton>(form, ok));
    EXPECT_FALSE(SkinnerOfWindow<TSkinControl>(form, group));
    EXPECT_TRUE(SkinnerOfWindow<TSkinButton>(form, inGroup));
    // A tab widget is skinned once, its tab bar with it, and the buttons of its pages too.
    EXPECT_TRUE(SkinnerOfWindow<TSkinTab>(form, tabs));
    EXPECT_FALSE(SkinnerOfWindow<TSkinControl>(form, tabs->tabBar()));
    EXPECT_TRUE(SkinnerOfWindow<TSkinButton>(form, onPage));
    // The skinned default button is painted from the skin's "Buttons" strip.
    const QImage img = ok->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const TDataSkinButton& e = *Data->Buttons;
    const int frame = SkinnerOfWindow<TSkinButton>(form, ok)->ButtonFrame();
    const int fw = e.Image.width() / std::max(1, e.Frame);
    const QImage strip = e.Image.copy((frame - 1) * fw, 0, fw, e.Image.height()).convertToFormat(QImage::Format_RGB32);
    int same = 0, total = 0;
    for (int y = 0; y < e.TopHeight; ++y)
        for (int x = 0; x < e.LeftWidth; ++x) {
            if (e.Trans == 1 && (strip.pixel(x, y) & 0xFFFFFF) == 0xFF00FF)
                continue;
            ++total;
            same += (img.pixel(x, y) & 0xFFFFFF) == (strip.pixel(x, y) & 0xFFFFFF);
        }
    ASSERT_GT(total, 0);
    EXPECT_EQ(same, total);
}

TEST_F(SkinFormFixture, MessageBoxButtonsTakeTheSkin)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Otázka"), QStringLiteral("Uložit změny?"),
                    QMessageBox::Yes | QMessageBox::No);
    int skinned = 0, buttons = 0;
    QTimer::singleShot(200, &box, [&] {
        for (QAbstractButton* b : box.buttons()) {
            ++buttons;
            skinned += SendMessage(b, WM_SKINQUERY) == 1;
        }
        box.done(QMessageBox::No);
    });
    EXPECT_EQ(box.exec(), QMessageBox::No);
    EXPECT_EQ(buttons, 2);
    EXPECT_EQ(skinned, 2);
}
