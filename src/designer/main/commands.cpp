// The command table of the main window: the main menu with its shortcuts,
// the two tool bars and their artwork, and the Help and View menu handlers.

#include "designer/main/frm_main.h"

#include "classlib/controls/image_list.h"
#include "classlib/forms/application.h"
#include "classlib/forms/message_box.h"
#include "designer/forms/frm_invisible.h"
#include "designer/forms/frm_o_programu.h"
#include "designer/forms/frm_skin_chooser.h"
#include "platform/messages.h"
#include "platform/shell.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPainterPath>
#include <initializer_list>

namespace {
enum TCommandGlyph { cgNew, cgOpen, cgSave, cgPrint, cgClone, cgTextMode };

// Tool-bar glyphs of the commands, 16 x 16.
QImage CommandGlyph(TCommandGlyph glyph)
{
    QImage img(16, 16, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QColor ink(30, 50, 90), accent(60, 130, 210), warm(230, 170, 50);
    auto page = [&](QRectF r) {
        QPainterPath path;
        path.moveTo(r.left(), r.top());
        path.lineTo(r.right() - 4, r.top());
        path.lineTo(r.right(), r.top() + 4);
        path.lineTo(r.right(), r.bottom());
        path.lineTo(r.left(), r.bottom());
        path.closeSubpath();
        p.setPen(QPen(ink, 1));
        p.setBrush(Qt::white);
        p.drawPath(path);
        p.drawLine(QPointF(r.right() - 4, r.top()), QPointF(r.right() - 4, r.top() + 4));
        p.drawLine(QPointF(r.right() - 4, r.top() + 4), QPointF(r.right(), r.top() + 4));
    };
    switch (glyph) {
    case cgNew:
        page(QRectF(2.5, 1.5, 11, 13));
        p.setPen(Qt::NoPen);
        p.setBrush(warm);
        p.drawEllipse(QRectF(8, 8, 6, 6));
        break;
    case cgOpen:
        p.setPen(QPen(ink, 1));
        p.setBrush(warm);
        p.drawPolygon(QPolygonF({QPointF(1.5, 3.5), QPointF(6, 3.5), QPointF(7.5, 5), QPointF(13.5, 5),
                                 QPointF(13.5, 13.5), QPointF(1.5, 13.5)}));
        p.setBrush(QColor(250, 215, 120));
        p.drawPolygon(QPolygonF({QPointF(3.5, 7.5), QPointF(15.5, 7.5), QPointF(13.5, 13.5), QPointF(1.5, 13.5)}));
        break;
    case cgSave:
        p.setPen(QPen(ink, 1));
        p.setBrush(accent);
        p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(220, 225, 235));
        p.drawRect(QRectF(3.5, 9.5, 9, 5));
        break;
    case cgPrint:
        page(QRectF(4.5, 0.5, 7, 6));
        p.setPen(QPen(ink, 1));
        p.setBrush(QColor(190, 195, 205));
        p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1.5, 1.5);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 10.5, 7, 5));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 180, 80));
        p.drawEllipse(QRectF(11.5, 8, 2, 2));
        break;
    case cgClone:
        p.setPen(QPen(ink, 1));
        p.setBrush(QColor(200, 220, 245));
        p.drawRect(QRectF(1.5, 1.5, 9, 9));
        p.setBrush(accent);
        p.drawRect(QRectF(5.5, 5.5, 9, 9));
        break;
    case cgTextMode:
        p.setPen(QPen(ink, 1.4));
        p.drawLine(QPointF(8, 2), QPointF(8, 14));
        p.drawLine(QPointF(5, 2), QPointF(11, 2));
        p.drawLine(QPointF(5, 14), QPointF(11, 14));
        break;
    }
    return img;
}
} // namespace

void TFrmMain::CreateCommandsControls()
{
    // ---- tool buttons of the commands; their places come in ArrangeCommands
    auto button = [&](const char* name, const QString& hint, TToolButtonStyle style, TCommandGlyph glyph) {
        auto* b = Named(new TToolButton(this), name);
        b->SetParent(ToolBar1);
        b->SetStyle(style);
        b->SetHint(hint);
        b->SetCaption(hint);
        b->SetImageIndex(ToolBarImages->AddImage(CommandGlyph(glyph)));
        return b;
    };
    btnNew = button("btnNew", QString::fromUtf8("Nový"), tbsButton, cgNew);
    btnNew->OnClick = [this](TComponent* s) { mnNewClick(s); };
    btnOpen = button("btnOpen", QString::fromUtf8("Otevřít"), tbsButton, cgOpen);
    btnOpen->OnClick = [this](TComponent* s) { btnOpenClick(s); };
    btnSave = button("btnSave", QString::fromUtf8("Uložit"), tbsButton, cgSave);
    btnSave->OnClick = [this](TComponent* s) { btnSaveClick(s); };
    btnTextMode = button("btnTextMode", QString::fromUtf8("Edit mód"), tbsCheck, cgTextMode);
    btnTextMode->SetVisible(false);
    btnPrint = button("btnPrint", QString::fromUtf8("Tisk"), tbsButton, cgPrint);
    btnPrint->OnClick = [this](TComponent* s) { btnPrintClick(s); };
    ToolButton8 = button("ToolButton8", QString::fromUtf8("Klonovat objekt"), tbsButton, cgClone);
    // The separators, named as the tool bars number their buttons.
    for (const char* name : {"ToolButton1", "ToolButton2", "ToolButton3", "ToolButton9", "ToolButton4", "ToolButton5"}) {
        auto* b = Named(new TToolButton(this), name);
        b->SetParent(ToolBar1);
        b->SetStyle(tbsSeparator);
    }

    // ---- the main menu
    MainMenu1 = Named(new TMainMenu(this), "MainMenu1");
    MainMenu1->SetImages(ToolBarImages);
    auto item = [&](TMenuItem* parent, const char* name, const char* caption, TShortCut shortcut = 0) {
        auto* i = Named(new TMenuItem(this), name);
        i->SetCaption(QString::fromUtf8(caption));
        i->SetShortCut(shortcut);
        (parent ? parent : MainMenu1->Items())->Add(i);
        return i;
    };
    auto click = [](TMenuItem* i, auto handler) { i->OnClick = handler; };

    mnFile = item(nullptr, "mnFile", "Soubor");
    mnNew = item(mnFile, "mnNew", "Nový", ShortCut('N', ssCtrl));
    click(mnNew, [this](TComponent* s) { mnNewClick(s); });
    sbr1 = item(mnFile, "sbr1", "Otevřít", ShortCut('O', ssCtrl));
    click(sbr1, [this](TComponent* s) { btnOpenClick(s); });
    sbr2 = item(mnFile, "sbr2", "Uložit", ShortCut('S', ssCtrl));
    click(sbr2, [this](TComponent* s) { btnSaveClick(s); });
    mnuSaveAs = item(mnFile, "mnuSaveAs", "Uložit jako...");
    click(mnuSaveAs, [this](TComponent* s) { mnuSaveAsClick(s); });
    N8 = item(mnFile, "N8", "-");
    sbr3 = item(mnFile, "sbr3", "Změna šablony");
    click(sbr3, [this](TComponent* s) { sbr3Click(s); });
    N1 = item(mnFile, "N1", "-");
    sbr4 = item(mnFile, "sbr4", "Tisk", ShortCut('P', ssCtrl));
    click(sbr4, [this](TComponent* s) { btnPrintClick(s); });
    Export1 = item(mnFile, "Export1", "Export");
    click(Export1, [this](TComponent* s) { Export1Click(s); });
    N2 = item(mnFile, "N2", "-");
    mnExit = item(mnFile, "mnExit", "Konec");
    click(mnExit, [this](TComponent* s) { mnExitClick(s); });

    mnEdit = item(nullptr, "mnEdit", "Úpravy");
    click(mnEdit, [this](TComponent* s) { mnEditClick(s); });
    mnuSmazat = item(mnEdit, "mnuSmazat", "Smazat objekt", ShortCut(VK_DELETE, 0));
    click(mnuSmazat, [this](TComponent* s) { mnuSmazat1Click(s); });
    Klonovatobjekt1 = item(mnEdit, "Klonovatobjekt1", "Klonovat objekt", ShortCut('I', ssCtrl));
    N12 = item(mnEdit, "N12", "-");
    upr1 = item(mnEdit, "upr1", "Vložit seznam souborů");
    upr2 = item(mnEdit, "upr2", "Vložit seznam složek");
    VloitobsahCDzCDDB1 = item(mnEdit, "VloitobsahCDzCDDB1", "Vložit obsah CD z CDDB");
    click(VloitobsahCDzCDDB1, [this](TComponent* s) { VloitobsahCDzCDDB1Click(s); });

    mnSet = item(nullptr, "mnSet", "Nastavení");
    mnKorTisk = item(mnSet, "mnKorTisk", "Korekce tisku");
    click(mnKorTisk, [this](TComponent* s) { mnKorTiskClick(s); });
    N13 = item(mnSet, "N13", "-");
    Skinprogramu1 = item(mnSet, "Skinprogramu1", "Vzhled programu");
    click(Skinprogramu1, [this](TComponent* s) { Skinprogramu1Click(s); });

    mnVis = item(nullptr, "mnVis", "Zobrazení");
    click(mnVis, [this](TComponent* s) { mnVisClick(s); });
    vis1 = item(mnVis, "vis1", "Zobrazovat horní vrstvu", ShortCut('H', ssAlt));
    click(vis1, [this](TComponent* s) { vis1Click(s); });
    N11 = item(mnVis, "N11", "-");
    // "Tisknout orámování" and "Barva rámování" belong to printing: placed in ArrangeCommands.

    mnIns = item(nullptr, "mnIns", "Vložit");
    vl1 = item(mnIns, "vl1", "Pozadí", ShortCut('B', ssAlt));
    click(vl1, [this](TComponent* s) { BtnPozadi2Click(s); });
    vl2 = item(mnIns, "vl2", "Obrázek", ShortCut('I', ssAlt));
    click(vl2, [this](TComponent* s) { btnImg2Click(s); });
    ComObal = item(mnIns, "ComObal", "Kompletní obal");
    click(ComObal, [this](TComponent* s) { ComObalClick(s); });
    Logo1 = item(mnIns, "Logo1", "Logo");
    click(Logo1, [this](TComponent* s) { Logo1Click(s); });
    N10 = item(mnIns, "N10", "-");
    vl3 = item(mnIns, "vl3", "Text", ShortCut('T', ssAlt));
    click(vl3, [this](TComponent* s) { btnTextImgClick(s); });
    vl4 = item(mnIns, "vl4", "Textové pole", ShortCut('P', ssAlt));
    click(vl4, [this](TComponent* s) { btnText2Click(s); });
    vl5 = item(mnIns, "vl5", "Kulatý text", ShortCut('K', ssAlt));
    click(vl5, [this](TComponent* s) { btnKruhText2Click(s); });
    N9 = item(mnIns, "N9", "-");
    vl6 = item(mnIns, "vl6", "Vložit zaoblený rámeček", ShortCut('Z', ssAlt));
    click(vl6, [this](TComponent* s) { vl6Click(s); });
    vl7 = item(mnIns, "vl7", "Vložit rámeček", ShortCut('R', ssAlt));
    click(vl7, [this](TComponent* s) { vl7Click(s); });
    vl8 = item(mnIns, "vl8", "Vložit kruh", ShortCut('E', ssAlt));
    click(vl8, [this](TComponent* s) { vl8Click(s); });

    mnHelp = item(nullptr, "mnHelp", "Nápověda");
    hl1 = item(mnHelp, "hl1", "Nápověda", ShortCut(VK_F1, 0));
    click(hl1, [this](TComponent* s) { hl1Click(s); });
    N3 = item(mnHelp, "N3", "-");
    hl2 = item(mnHelp, "hl2", "O programu...");
    hl2->SetHint(QString::fromUtf8("Informace o programu"));
    click(hl2, [this](TComponent* s) { hl2Click(s); });
    Zjistitnovouverzi1 = item(mnHelp, "Zjistitnovouverzi1", "Zjistit novou verzi");
    click(Zjistitnovouverzi1, [this](TComponent* s) { Zjistitnovouverzi1Click(s); });

    // The menu items show the glyphs of their tool buttons.
    mnNew->SetImageIndex(btnNew->ImageIndex());
    sbr1->SetImageIndex(btnOpen->ImageIndex());
    sbr2->SetImageIndex(btnSave->ImageIndex());
    sbr4->SetImageIndex(btnPrint->ImageIndex());
    Klonovatobjekt1->SetImageIndex(ToolButton8->ImageIndex());
    vl1->SetImageIndex(BtnPozadi->ImageIndex());
    vl2->SetImageIndex(btnImg->ImageIndex());
    ComObal->SetImageIndex(ToolButton7->ImageIndex());
    Logo1->SetImageIndex(ToolButton10->ImageIndex());
    vl4->SetImageIndex(btnText->ImageIndex());
    vl6->SetImageIndex(btnRound->ImageIndex());
    vl7->SetImageIndex(btnRect->ImageIndex());
    vl8->SetImageIndex(btnCircl->ImageIndex());
    SetMenu(MainMenu1);
}

void TFrmMain::ArrangeCommands()
{
    // The cut-frame items of printing close the View menu.
    for (TMenuItem* i : {TiskRam, Barvarmovn1}) {
        if (i->Parent())
            i->Parent()->Remove(i);
        mnVis->Add(i);
    }

    auto separator = [this](const char* name) { return static_cast<TToolButton*>(FindComponent(QString::fromLatin1(name))); };
    // Each bar in the order of its table: moving each button to the end in turn.
    auto arrange = [](TToolBar* bar, std::initializer_list<TToolButton*> order) {
        for (TToolButton* b : order) {
            if (b->Parent() != bar)
                b->SetParent(bar);
            b->BringToFront();
        }
        bar->ArrangeButtons();
    };
    arrange(ToolBar1, {btnNew, btnOpen, btnSave, separator("ToolButton1"), btnLayer01, btnKriz, separator("ToolButton2"),
                       btnTextMode, btnPrint, separator("ToolButton3"), ToolButton8, ToolButton7,
                       separator("ToolButton9"), ToolButton10});
    arrange(ToolBar2, {BtnPozadi, btnImg, separator("ToolButton4"), btnTextImg, btnText, btnKruhText,
                       separator("ToolButton5"), btnRound, btnRect, btnCircl});
    vl3->SetImageIndex(btnTextImg->ImageIndex());
    vl5->SetImageIndex(btnKruhText->ImageIndex());
}

// ---------------------------------------------------------------- handlers

void TFrmMain::mnVisClick(TComponent*)
{
    if (GetTemplateFlag(QStringLiteral("isKrab"))) {
        TiskRam->SetEnabled(true);
    } else {
        TiskRam->SetChecked(false);
        TiskRam->SetEnabled(false);
    }
}

void TFrmMain::hl1Click(TComponent*)
{
    const QString page = AppDir + QStringLiteral("/Help/index.html");
    // A desktop that opens nothing for the page would leave F1 doing nothing visible.
    auto tell = [page] {
        Application->MessageBox(QString::fromUtf8("Nápovědu se nepodařilo otevřít. Otevřete v prohlížeči soubor %1.")
                                    .arg(QDir::toNativeSeparators(page)),
                                QStringLiteral("Chyba"), MB_OK | MB_ICONWARNING);
    };
    if (!QFileInfo::exists(page) || !ShellOpen(page, tell))
        tell();
}

void TFrmMain::hl2Click(TComponent*)
{
    if (FrmOProgramu)
        FrmOProgramu->ShowModal();
}

void TFrmMain::Skinprogramu1Click(TComponent*)
{
    if (Form21)
        Form21->ShowModal();
}

void TFrmMain::Zjistitnovouverzi1Click(TComponent*)
{
    // Showing the window starts no check: its button does.
    if (FrmInvisible)
        FrmInvisible->ShowModal();
}
