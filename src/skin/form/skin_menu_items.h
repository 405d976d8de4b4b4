#pragma once
// Owner-drawn menu items in the skin's look: the MenuItem element's strip
// (frame 1 normal, 4 selected, the separator from frame 2) over the popup's
// background, then the glyph column, caption and shortcut text.

#include "platform/menus_api.h"
#include "platform/win_types.h"

#include <QImage>
#include <QString>

class QPainter;
class TFont;
class TMenuItem;
class TSkinData;

// The classic scheme's menu font, which bar and items are drawn in.
const TFont& SkinMenuFont();

// What one item shows.
struct TSkinMenuItemLook {
    QString Caption;
    QString ShortCut;
    bool Separator = false;
    bool Enabled = true;
    bool Checked = false;
    bool Default = false;
    bool Selected = false;
    bool RightToLeft = false;
    QImage Image;        // the item's glyph, null for none
    int ColumnWidth = 16; // the menu's image-list size (16 without a list)
    int ColumnHeight = 16;
};

TSkinMenuItemLook SkinMenuItemLook(const TMenuItem* item);

// A class-library item: its own size widened for the skin's glyph column.
void SkinMeasureMenuItem(const TSkinData* skin, bool menuHasImages, bool popupItem, MEASUREITEMSTRUCT& mis);
// An item only the platform knows (identifier 0 or from 4096): caption "" is a separator.
void SkinMeasureWindowsMenuItem(const TSkinData* skin, const QString& caption, MEASUREITEMSTRUCT& mis);

// Draws the item into dc at r (menu window coordinates); background is the
// open popup's painted picture (window coordinates) or null.
void SkinDrawMenuItem(QPainter& dc, const TRect& r, const TSkinData* skin, const TSkinMenuItemLook& look,
                      const QImage* background);

// The item's picture alone, r's size (what SkinDrawMenuItem copies to dc).
QImage SkinMenuItemBitmap(const TRect& r, const TSkinData* skin, const TSkinMenuItemLook& look,
                          const QImage* background);
