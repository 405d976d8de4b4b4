#include "classlib/streaming/saved_classes.h"

#include "classlib/controls/control.h"
#include "classlib/controls/ext_controls.h"
#include "classlib/controls/image.h"
#include "classlib/controls/std_controls.h"
#include "classlib/forms/menus.h"
#include "classlib/pictures/picture.h"
#include "classlib/streaming/standard_properties.h"

#include <algorithm>

int RecordCoordinate(int64_t value)
{
    return static_cast<int>(std::clamp<int64_t>(value, MinRecordCoordinate, MaxRecordCoordinate));
}

namespace {

// Properties a record may hold that our controls do not keep (the program
// never sets them): read and dropped, and never written because they keep
// their default.
template <class T>
auto Ignore()
{
    return [](T&, auto&&) {};
}

template <class T>
void AddHead(TStreamClassBuilder<T>& b)
{
    b.Integer("Tag", [](T& o) { return o.Tag(); }, [](T& o, int64_t v) { o.SetTag(int(v)); }).Default(0);
    b.Integer("Left", [](T& o) { return o.Left(); }, [](T& o, int64_t v) { o.SetLeft(RecordCoordinate(v)); })
        .Always();
    b.Integer("Top", [](T& o) { return o.Top(); }, [](T& o, int64_t v) { o.SetTop(RecordCoordinate(v)); }).Always();
    b.Integer("Width", [](T& o) { return o.Width(); }, [](T& o, int64_t v) { o.SetWidth(RecordCoordinate(v)); })
        .Always();
    b.Integer("Height", [](T& o) { return o.Height(); }, [](T& o, int64_t v) { o.SetHeight(RecordCoordinate(v)); })
        .Always();
    b.NamedInteger("Cursor", CursorIdents(), [](T& o) { return o.Cursor(); },
                   [](T& o, int64_t v) { o.SetCursor(TCursor(v)); })
        .Default(crDefault);
    b.String("Hint", [](T& o) { return o.Hint(); }, [](T& o, const QString& v) { o.SetHint(v); });
    b.Enumeration("HelpType", HelpTypeNames(), [](T& o) { return o.HelpType(); },
                  [](T& o, int64_t v) { o.SetHelpType(THelpType(v)); })
        .Default(htContext);
    b.String("HelpKeyword", [](T& o) { return o.HelpKeyword(); },
             [](T& o, const QString& v) { o.SetHelpKeyword(v); });
    b.Integer("HelpContext", [](T& o) { return o.HelpContext(); },
              [](T& o, int64_t v) { o.SetHelpContext(int(v)); })
        .Default(0);
}

template <class T>
void AddAlign(TStreamClassBuilder<T>& b)
{
    b.Enumeration("Align", AlignNames(), [](T& o) { return o.Align(); },
                  [](T& o, int64_t v) { o.SetAlign(TAlign(v)); })
        .Default(alNone);
}

template <class T>
void AddAnchors(TStreamClassBuilder<T>& b)
{
    b.SetOf("Anchors", AnchorNames(), [](T& o) { return o.Anchors(); },
            [](T& o, int64_t v) { o.SetAnchors(TAnchors(v)); })
        .Default(akLeft | akTop);
}

template <class T>
void AddBiDiMode(TStreamClassBuilder<T>& b)
{
    b.Enumeration("BiDiMode", BiDiModeNames(), [](T& o) { return o.BiDiMode(); }, Ignore<T>())
        .Always()
        .StoredIf([](T& o) { return !o.ParentBiDiMode(); });
}

template <class T>
void AddColor(TStreamClassBuilder<T>& b)
{
    b.NamedInteger("Color", ColorIdents(), [](T& o) { return o.Color(); },
                   [](T& o, int64_t v) { o.SetColor(TColor(v)); })
        .Always()
        .StoredIf([](T& o) { return !o.ParentColor(); });
}

template <class T>
void AddConstraints(TStreamClassBuilder<T>& b)
{
    b.Integer("Constraints.MaxHeight", [](T& o) { return o.Constraints()->MaxHeight; },
              [](T& o, int64_t v) { o.Constraints()->MaxHeight = int(v); })
        .Default(0);
    b.Integer("Constraints.MaxWidth", [](T& o) { return o.Constraints()->MaxWidth; },
              [](T& o, int64_t v) { o.Constraints()->MaxWidth = int(v); })
        .Default(0);
    b.Integer("Constraints.MinHeight", [](T& o) { return o.Constraints()->MinHeight; },
              [](T& o, int64_t v) { o.Constraints()->MinHeight = int(v); })
        .Default(0);
    b.Integer("Constraints.MinWidth", [](T& o) { return o.Constraints()->MinWidth; },
              [](T& o, int64_t v) { o.Constraints()->MinWidth = int(v); })
        .Default(0);
}

template <class T>
void AddDrag(TStreamClassBuilder<T>& b)
{
    b.NamedInteger("DragCursor", CursorIdents(), [](T& o) { return o.DragCursor(); },
                   [](T& o, int64_t v) { o.SetDragCursor(TCursor(v)); })
        .Default(crDrag);
    b.Enumeration("DragKind", DragKindNames(), [](T& o) { return o.DragKind(); },
                  [](T& o, int64_t v) { o.SetDragKind(TDragKind(v)); })
        .Default(dkDrag);
    b.Enumeration("DragMode", DragModeNames(), [](T& o) { return o.DragMode(); },
                  [](T& o, int64_t v) { o.SetDragMode(TDragMode(v)); })
        .Default(dmManual);
}

template <class T>
void AddEnabled(TStreamClassBuilder<T>& b)
{
    b.Boolean("Enabled", [](T& o) { return o.Enabled(); }, [](T& o, int64_t v) { o.SetEnabled(v != 0); })
        .Default(1);
}

template <class T>
void AddFont(TStreamClassBuilder<T>& b)
{
    AddFontProperties(b, "Font", [](T& o) -> TFont& { return *o.Font(); }, [](T& o) { return !o.ParentFont(); });
}

template <class T>
void AddParentBiDiMode(TStreamClassBuilder<T>& b)
{
    b.Boolean("ParentBiDiMode", [](T& o) { return o.ParentBiDiMode(); }, Ignore<T>()).Default(1);
}

template <class T>
void AddParentColor(TStreamClassBuilder<T>& b)
{
    b.Boolean("ParentColor", [](T& o) { return o.ParentColor(); },
              [](T& o, int64_t v) { o.SetParentColor(v != 0); })
        .Default(1);
}

template <class T>
void AddParentFont(TStreamClassBuilder<T>& b)
{
    b.Boolean("ParentFont", [](T& o) { return o.ParentFont(); }, [](T& o, int64_t v) { o.SetParentFont(v != 0); })
        .Default(1);
}

template <class T>
void AddParentShowHint(TStreamClassBuilder<T>& b)
{
    b.Boolean("ParentShowHint", [](T& o) { return o.ParentShowHint(); },
              [](T& o, int64_t v) { o.SetParentShowHint(v != 0); })
        .Default(1);
}

template <class T>
void AddPopupMenu(TStreamClassBuilder<T>& b)
{
    // Read references are not followed: the readers copy what they need and
    // give each object the popup menu of its kind themselves.
    b.Reference("PopupMenu", [](T& o) -> TComponent* { return o.PopupMenu(); }, Ignore<T>());
}

template <class T>
void AddShowHint(TStreamClassBuilder<T>& b)
{
    b.Boolean("ShowHint", [](T& o) { return o.ShowHint(); }, [](T& o, int64_t v) { o.SetShowHint(v != 0); })
        .Always()
        .StoredIf([](T& o) { return !o.ParentShowHint(); });
}

template <class T>
void AddVisible(TStreamClassBuilder<T>& b)
{
    b.Boolean("Visible", [](T& o) { return o.Visible(); }, [](T& o, int64_t v) { o.SetVisible(v != 0); })
        .Default(1);
}

void RegisterLabel(TStreamRegistry& registry)
{
    using T = TLabel;
    TStreamClassBuilder<T> b("TLabel", [] { return std::make_unique<T>(nullptr); });
    AddHead(b);
    AddAlign(b);
    b.Enumeration("Alignment", AlignmentNames(), [](T& o) { return o.Alignment(); },
                  [](T& o, int64_t v) { o.SetAlignment(TAlignment(v)); })
        .Default(taLeftJustify);
    AddAnchors(b);
    b.Boolean("AutoSize", [](T& o) { return o.AutoSize(); }, [](T& o, int64_t v) { o.SetAutoSize(v != 0); })
        .Default(1);
    AddBiDiMode(b);
    b.String("Caption", [](T& o) { return o.Caption(); }, [](T& o, const QString& v) { o.SetCaption(v); });
    AddColor(b);
    AddConstraints(b);
    AddDrag(b);
    AddEnabled(b);
    b.Reference("FocusControl", [](T& o) -> TComponent* { return o.FocusControl(); }, Ignore<T>());
    AddFont(b);
    AddParentBiDiMode(b);
    AddParentColor(b);
    AddParentFont(b);
    AddParentShowHint(b);
    AddPopupMenu(b);
    b.Boolean("ShowAccelChar", [](T& o) { return o.ShowAccelChar(); },
              [](T& o, int64_t v) { o.SetShowAccelChar(v != 0); })
        .Default(1);
    AddShowHint(b);
    b.Boolean("Transparent", [](T& o) { return o.Transparent(); }, [](T& o, int64_t v) { o.SetTransparent(v != 0); })
        .Always()
        .StoredIf([](T& o) { return o.TransparentSet(); });
    b.Enumeration("Layout", {"tlTop", "tlCenter", "tlBottom"}, [](T& o) { return o.Layout(); },
                  [](T& o, int64_t v) { o.SetLayout(TTextLayout(v)); })
        .Default(tlTop);
    AddVisible(b);
    b.Boolean("WordWrap", [](T& o) { return o.WordWrap(); }, [](T& o, int64_t v) { o.SetWordWrap(v != 0); })
        .Default(0);
    // The size follows the text once everything is read, as after loading a form.
    b.OnLoaded([](T& o) { o.AdjustBounds(); });
    registry.Register(b.Build());
}

void RegisterShape(TStreamRegistry& registry)
{
    using T = TShape;
    TStreamClassBuilder<T> b("TShape", [] { return std::make_unique<T>(nullptr); });
    AddHead(b);
    AddAlign(b);
    AddAnchors(b);
    AddBrushProperties(b, "Brush", [](T& o) -> TBrush& { return *o.Brush(); });
    AddDrag(b);
    AddEnabled(b);
    AddConstraints(b);
    AddParentShowHint(b);
    AddPenProperties(b, "Pen", [](T& o) -> TPen& { return *o.Pen(); });
    QStringList shapes;
    for (int i = stRectangle; i <= stCircle; ++i)
        shapes << QString::fromLatin1(ShapeTypeName(TShapeType(i)));
    b.Enumeration("Shape", shapes, [](T& o) { return o.Shape(); }, [](T& o, int64_t v) { o.SetShape(TShapeType(v)); })
        .Default(stRectangle);
    AddShowHint(b);
    AddVisible(b);
    registry.Register(b.Build());
}

void RegisterCheckBox(TStreamRegistry& registry)
{
    using T = TCheckBox;
    TStreamClassBuilder<T> b("TCheckBox", [] { return std::make_unique<T>(nullptr); });
    AddHead(b);
    b.Boolean("TabStop", [](T& o) { return o.TabStop(); }, [](T& o, int64_t v) { o.SetTabStop(v != 0); })
        .Default(1);
    b.Reference("Action", [](T&) -> TComponent* { return nullptr; }, Ignore<T>());
    b.Enumeration("Alignment", AlignmentNames(), [](T& o) { return o.Alignment(); },
                  [](T& o, int64_t v) { o.SetAlignment(TAlignment(v)); })
        .Default(taRightJustify);
    b.Boolean("AllowGrayed", [](T& o) { return o.AllowGrayed(); },
              [](T& o, int64_t v) { o.SetAllowGrayed(v != 0); })
        .Default(0);
    AddAnchors(b);
    AddBiDiMode(b);
    b.String("Caption", [](T& o) { return o.Caption(); }, [](T& o, const QString& v) { o.SetCaption(v); });
    b.Boolean("Checked", [](T& o) { return o.Checked(); }, [](T& o, int64_t v) { o.SetChecked(v != 0); })
        .Default(0);
    AddColor(b);
    AddConstraints(b);
    b.Boolean("Ctl3D", [](T&) { return true; }, Ignore<T>())
        .Always()
        .StoredIf([](T& o) { return !o.ParentCtl3D(); });
    AddDrag(b);
    AddEnabled(b);
    AddFont(b);
    AddParentBiDiMode(b);
    AddParentColor(b);
    b.Boolean("ParentCtl3D", [](T& o) { return o.ParentCtl3D(); }, Ignore<T>()).Default(1);
    AddParentFont(b);
    AddParentShowHint(b);
    AddPopupMenu(b);
    AddShowHint(b);
    b.Enumeration("State", {"cbUnchecked", "cbChecked", "cbGrayed"}, [](T& o) { return o.State(); },
                  [](T& o, int64_t v) { o.SetState(TCheckBoxState(v)); })
        .Default(cbUnchecked);
    b.Integer("TabOrder", [](T& o) { return o.TabOrder(); }, [](T& o, int64_t v) { o.SetTabOrder(int(v)); })
        .Default(-1);
    AddVisible(b);
    b.Boolean("WordWrap", [](T& o) { return o.WordWrap(); }, Ignore<T>()).Default(0);
    registry.Register(b.Build());
}

void RegisterImage(TStreamRegistry& registry)
{
    using T = TImage;
    TStreamClassBuilder<T> b("TImage", [] { return std::make_unique<T>(nullptr); });
    AddHead(b);
    AddAlign(b);
    AddAnchors(b);
    b.Boolean("AutoSize", [](T& o) { return o.AutoSize(); }, [](T& o, int64_t v) { o.SetAutoSize(v != 0); })
        .Default(0);
    b.Boolean("Center", [](T& o) { return o.Center(); }, [](T& o, int64_t v) { o.SetCenter(v != 0); }).Default(0);
    AddConstraints(b);
    AddDrag(b);
    AddEnabled(b);
    b.Boolean("IncrementalDisplay", [](T& o) { return o.IncrementalDisplay(); },
              [](T& o, int64_t v) { o.SetIncrementalDisplay(v != 0); })
        .Default(0);
    AddParentShowHint(b);
    // The picture sub-object holds nothing but its defined data.
    b.Binary("Picture.Data", [](T& o) { return o.Picture()->DataBytes(); },
             [](T& o, const QByteArray& v) { o.Picture()->ReadDataFromBytes(v); })
        .StoredIf([](T& o) { return o.Picture()->HasGraphic(); });
    AddPopupMenu(b);
    b.Boolean("Proportional", [](T& o) { return o.Proportional(); },
              [](T& o, int64_t v) { o.SetProportional(v != 0); })
        .Default(0);
    AddShowHint(b);
    b.Boolean("Stretch", [](T& o) { return o.Stretch(); }, [](T& o, int64_t v) { o.SetStretch(v != 0); })
        .Default(0);
    b.Boolean("Transparent", [](T& o) { return o.Transparent(); }, [](T& o, int64_t v) { o.SetTransparent(v != 0); })
        .Default(0);
    AddVisible(b);
    registry.Register(b.Build());
}

} // namespace

QStringList AlignNames() { return {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"}; }
QStringList AnchorNames() { return {"akLeft", "akTop", "akRight", "akBottom"}; }
QStringList DragKindNames() { return {"dkDrag", "dkDock"}; }
QStringList DragModeNames() { return {"dmManual", "dmAutomatic"}; }
QStringList HelpTypeNames() { return {"htKeyword", "htContext"}; }
QStringList AlignmentNames() { return {"taLeftJustify", "taRightJustify", "taCenter"}; }
QStringList BiDiModeNames()
{
    return {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"};
}

void RegisterSavedClasses(TStreamRegistry& registry)
{
    RegisterLabel(registry);
    RegisterShape(registry);
    RegisterCheckBox(registry);
    RegisterImage(registry);
}
