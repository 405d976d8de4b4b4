#pragma once
// Small stand-ins for saved classes, registered in a registry of their own:
// a label with a font, a shape with pen and brush, a check box and a holder
// of binary data. The tests and the record fuzzer use them.

#include "classlib/component.h"
#include "classlib/graphics/font.h"
#include "classlib/streaming/registry.h"
#include "classlib/streaming/standard_properties.h"

#include <QByteArray>
#include <QStringList>
#include <memory>

namespace StreamTest {

// The common head: Tag, bounds, Cursor, Hint, HelpType, HelpKeyword, HelpContext.
struct THeadFake : TComponent {
    using TComponent::TComponent;
    int Left = 0, Top = 0, Width = 0, Height = 0;
    int Cursor = 0;
    QString Hint;
    int HelpType = 1; // htContext
    QString HelpKeyword;
    int HelpContext = 0;
    bool Visible = true;
    int DragCursor = -12;
    QString PopupMenuName; // a reference as read
    TComponent* PopupMenu = nullptr;
};

struct TLabelFake : THeadFake {
    TV_CLASS_NAME(TLabel)
    using THeadFake::THeadFake;
    bool AutoSize = true;
    QString Caption;
    TFont Font;
    bool ParentFont = true;
    bool Transparent = false;
    bool TransparentSet = false;
    void SetTransparent(bool v)
    {
        Transparent = v;
        TransparentSet = true;
    }
};

struct TShapeFake : THeadFake {
    TV_CLASS_NAME(TShape)
    using THeadFake::THeadFake;
    TBrush Brush;
    TPen Pen;
    int Shape = 0;
};

struct TCheckBoxFake : THeadFake {
    TV_CLASS_NAME(TCheckBox)
    using THeadFake::THeadFake;
    QString Caption;
    bool Checked = false;
    int State = 0;
    int TabOrder = -1;
};

struct TBlobFake : TComponent {
    TV_CLASS_NAME(TBlobFake)
    using TComponent::TComponent;
    bool Active = false;
    QByteArray Data; // payload of "SkinStream": 4-byte length, then the bytes
};

template <class T>
void AddHead(TStreamClassBuilder<T>& b)
{
    b.Integer("Tag", [](T& o) { return o.Tag(); }, [](T& o, int64_t v) { o.SetTag(int(v)); }).Default(0);
    b.Integer("Left", [](T& o) { return o.Left; }, [](T& o, int64_t v) { o.Left = int(v); }).Always();
    b.Integer("Top", [](T& o) { return o.Top; }, [](T& o, int64_t v) { o.Top = int(v); }).Always();
    b.Integer("Width", [](T& o) { return o.Width; }, [](T& o, int64_t v) { o.Width = int(v); }).Always();
    b.Integer("Height", [](T& o) { return o.Height; }, [](T& o, int64_t v) { o.Height = int(v); }).Always();
    b.NamedInteger("Cursor", CursorIdents(), [](T& o) { return o.Cursor; },
                   [](T& o, int64_t v) { o.Cursor = int(v); })
        .Default(0);
    b.String("Hint", [](T& o) { return o.Hint; }, [](T& o, const QString& v) { o.Hint = v; });
    b.Enumeration("HelpType", {"htKeyword", "htContext"}, [](T& o) { return o.HelpType; },
                  [](T& o, int64_t v) { o.HelpType = int(v); })
        .Default(1);
    b.String("HelpKeyword", [](T& o) { return o.HelpKeyword; }, [](T& o, const QString& v) { o.HelpKeyword = v; });
    b.Integer("HelpContext", [](T& o) { return o.HelpContext; }, [](T& o, int64_t v) { o.HelpContext = int(v); })
        .Default(0);
}

template <class T>
void AddDragCursor(TStreamClassBuilder<T>& b)
{
    b.NamedInteger("DragCursor", CursorIdents(), [](T& o) { return o.DragCursor; },
                   [](T& o, int64_t v) { o.DragCursor = int(v); })
        .Default(-12);
}

template <class T>
void AddPopupMenu(TStreamClassBuilder<T>& b)
{
    b.Reference("PopupMenu", [](T& o) { return o.PopupMenu; },
                [](T& o, const QString& v) { o.PopupMenuName = v; });
}

template <class T>
void AddVisible(TStreamClassBuilder<T>& b)
{
    b.Boolean("Visible", [](T& o) { return o.Visible; }, [](T& o, int64_t v) { o.Visible = v != 0; }).Default(1);
}

inline void RegisterFakes(TStreamRegistry& r)
{
    {
        using T = TLabelFake;
        TStreamClassBuilder<T> b("TLabel", [] { return std::make_unique<T>(nullptr); });
        AddHead(b);
        b.Boolean("AutoSize", [](T& o) { return o.AutoSize; }, [](T& o, int64_t v) { o.AutoSize = v != 0; })
            .Default(1);
        b.String("Caption", [](T& o) { return o.Caption; }, [](T& o, const QString& v) { o.Caption = v; });
        AddDragCursor(b);
        AddFontProperties(b, "Font", [](T& o) -> TFont& { return o.Font; }, [](T& o) { return !o.ParentFont; });
        b.Boolean("ParentFont", [](T& o) { return o.ParentFont; }, [](T& o, int64_t v) { o.ParentFont = v != 0; })
            .Default(1);
        AddPopupMenu(b);
        b.Boolean("Transparent", [](T& o) { return o.Transparent; },
                  [](T& o, int64_t v) { o.SetTransparent(v != 0); })
            .Always()
            .StoredIf([](T& o) { return o.TransparentSet; });
        AddVisible(b);
        r.Register(b.Build());
    }
    {
        using T = TShapeFake;
        TStreamClassBuilder<T> b("TShape", [] { return std::make_unique<T>(nullptr); });
        AddHead(b);
        AddBrushProperties(b, "Brush", [](T& o) -> TBrush& { return o.Brush; });
        AddDragCursor(b);
        AddPenProperties(b, "Pen", [](T& o) -> TPen& { return o.Pen; });
        b.Enumeration("Shape", {"stRectangle", "stSquare", "stRoundRect", "stRoundSquare", "stEllipse", "stCircle"},
                      [](T& o) { return o.Shape; }, [](T& o, int64_t v) { o.Shape = int(v); })
            .Default(0);
        AddVisible(b);
        r.Register(b.Build());
    }
    {
        using T = TCheckBoxFake;
        TStreamClassBuilder<T> b("TCheckBox", [] { return std::make_unique<T>(nullptr); });
        AddHead(b);
        b.String("Caption", [](T& o) { return o.Caption; }, [](T& o, const QString& v) { o.Caption = v; });
        b.Boolean("Checked", [](T& o) { return o.Checked; }, [](T& o, int64_t v) { o.Checked = v != 0; }).Default(0);
        AddDragCursor(b);
        AddPopupMenu(b);
        b.Enumeration("State", {"cbUnchecked", "cbChecked", "cbGrayed"}, [](T& o) { return o.State; },
                      [](T& o, int64_t v) { o.State = int(v); })
            .Default(0);
        b.Integer("TabOrder", [](T& o) { return o.TabOrder; }, [](T& o, int64_t v) { o.TabOrder = int(v); })
            .Default(-1);
        AddVisible(b);
        r.Register(b.Build());
    }
    {
        using T = TBlobFake;
        TStreamClassBuilder<T> b("TBlobFake", [] { return std::make_unique<T>(nullptr); });
        b.Boolean("Active", [](T& o) { return o.Active; }, [](T& o, int64_t v) { o.Active = v != 0; }).Always();
        b.Binary("SkinStream", [](T& o) { return o.Data; }, [](T& o, const QByteArray& v) { o.Data = v; });
        r.Register(b.Build());
    }
}

inline TStreamRegistry& FakeRegistry()
{
    static TStreamRegistry* r = [] {
        auto* reg = new TStreamRegistry;
        RegisterFakes(*reg);
        return reg;
    }();
    return *r;
}

} // namespace StreamTest
