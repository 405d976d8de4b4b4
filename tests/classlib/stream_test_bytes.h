#pragma once
// Builds expected record bytes by hand in the tests.

#include <QByteArray>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace StreamTest {

struct Bytes {
    QByteArray Data;

    Bytes& u8(int b)
    {
        Data.append(static_cast<char>(b & 0xFF));
        return *this;
    }
    Bytes& u8s(std::initializer_list<int> bs)
    {
        for (int b : bs)
            u8(b);
        return *this;
    }
    Bytes& raw(std::string_view s)
    {
        Data.append(s.data(), static_cast<qsizetype>(s.size()));
        return *this;
    }
    Bytes& rawb(const QByteArray& s)
    {
        Data.append(s);
        return *this;
    }
    Bytes& i16(int v) { return u8(v).u8(v >> 8); }
    Bytes& i32(int64_t v) { return u8(int(v)).u8(int(v >> 8)).u8(int(v >> 16)).u8(int(v >> 24)); }
    Bytes& i64(int64_t v) { return i32(v).i32(v >> 32); }
    // Short string: length byte, then the bytes.
    Bytes& str(std::string_view s) { return u8(int(s.size())).raw(s); }
    Bytes& strb(const QByteArray& s) { return u8(int(s.size())).rawb(s); }
    // Property name and the commonest values.
    Bytes& name(std::string_view s) { return str(s); }
    Bytes& int8(int v) { return u8(2).u8(v); }
    Bytes& int16(int v) { return u8(3).i16(v); }
    Bytes& int32(int64_t v) { return u8(4).i32(v); }
    Bytes& string(std::string_view s) { return u8(6).str(s); }
    Bytes& ident(std::string_view s) { return u8(7).str(s); }
    Bytes& False() { return u8(8); }
    Bytes& True() { return u8(9); }
    Bytes& end() { return u8(0); }
    Bytes& signature() { return raw("TPF0"); }

    operator QByteArray() const { return Data; }
};

// The record of a text object "Text" at (10, 20), 100 x 30, Arial bold 20 point
// red, transparent, with the text popup menu, as the file format writes it.
inline QByteArray TextObjectRecord()
{
    return Bytes()
        .signature()
        .str("TLabel")
        .str("C0")
        .name("Tag").int8(1)
        .name("Left").int8(10)
        .name("Top").int8(20)
        .name("Width").int8(100)
        .name("Height").int8(30)
        .name("AutoSize").False()
        .name("Caption").string("Text")
        .name("Font.Charset").ident("DEFAULT_CHARSET")
        .name("Font.Color").ident("clRed")
        .name("Font.Height").int8(-27)
        .name("Font.Name").string("Arial")
        .name("Font.Style").u8(11).str("fsBold").u8(0)
        .name("ParentFont").False()
        .name("PopupMenu").ident("FrmMain.PopupMenuTxt")
        .name("Transparent").True()
        .end()
        .end();
}

// Readable failure output for byte comparisons.
inline std::string Hex(const QByteArray& b) { return b.toHex(' ').toStdString(); }

} // namespace StreamTest
