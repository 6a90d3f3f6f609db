// The hive's text form: what the parser understands, keeps and writes back.
#include "HiveFile.h"

#include <gtest/gtest.h>

using namespace hivefile;

namespace {

const Value* FindValue(const Hive& hive, const std::string& section, const std::string& name)
{
    for (const auto& s : hive.sections)
        if (SameName(s.path, section))
            for (const auto& entry : s.entries)
                if (const auto* value = std::get_if<Value>(&entry); value && SameName(value->name, name))
                    return value;
    return nullptr;
}

std::vector<std::string> VerbatimLines(const Hive& hive)
{
    std::vector<std::string> lines(hive.preamble);
    for (const auto& s : hive.sections)
        for (const auto& entry : s.entries)
            if (const auto* text = std::get_if<Verbatim>(&entry))
                lines.push_back(text->text);
    return lines;
}

} // namespace

TEST(HiveFile, ReadsEveryValueSpellingInEveryEncoding)
{
    const std::string text = "Windows Registry Editor Version 5.00\r\n"
                            "\r\n"
                            "[HKEY_CURRENT_USER\\Software\\Kalvora\\Sudoku\\Lista]\r\n"
                            "\"IlePoz\"=dword:0000000A\r\n"
                            "\"_t1\"=dword:fffffffb\r\n"
                            "\"_g1\"=\"Zo\\\"fia \\\\ \xC5\xBC\xC3\xB3\xC5\x82w\"\r\n"
                            "\"_g2\"=hex(2):25,00,41,00,00,00\r\n"
                            "\"_g3\"=hex:01,ff,\\\r\n"
                            "  7f\r\n"
                            "\"_g4\"=hex(7):61,00,00,00,00,00\r\n"
                            "\"_g5\"=hex(b):01,00,00,00,00,00,00,00\r\n"
                            "@=\"default\"\r\n";
    // As typed (UTF-8), as saved by an editor that marks UTF-8, as regedit exports it.
    for (const std::string& bytes : {text, "\xEF\xBB\xBF" + text, Utf16FileBytes(text)}) {
    SCOPED_TRACE(bytes.substr(0, 2));
    const auto hive = Parse(bytes);
    ASSERT_TRUE(hive);
    const std::string key = "HKEY_CURRENT_USER\\Software\\Kalvora\\Sudoku\\Lista";
    EXPECT_EQ(FindValue(*hive, key, "ilepoz")->number, 10u);
    EXPECT_EQ(FindValue(*hive, key, "_t1")->number, 0xfffffffbu);
    EXPECT_EQ(FindValue(*hive, key, "_g1")->bytes, "Zo\"fia \\ \xC5\xBC\xC3\xB3\xC5\x82w");
    EXPECT_EQ(FindValue(*hive, key, "_g2")->type, TypeExpandString);
    EXPECT_EQ(FindValue(*hive, key, "_g2")->bytes, std::string("%\0A\0\0\0", 6));
    EXPECT_EQ(FindValue(*hive, key, "_g3")->type, TypeBinary);
    EXPECT_EQ(FindValue(*hive, key, "_g3")->bytes, "\x01\xff\x7f");
    EXPECT_EQ(FindValue(*hive, key, "_g4")->type, TypeMultiString);
    EXPECT_EQ(FindValue(*hive, key, "_g5")->type, TypeQWord);
    EXPECT_EQ(FindValue(*hive, key, "")->bytes, "default");
    EXPECT_TRUE(VerbatimLines(*hive).empty());
    }
}

TEST(HiveFile, WritesWhatItReadsUnchanged)
{
    const std::string text = "Windows Registry Editor Version 5.00\n"
                             "; a note typed by hand\n"
                             "\n"
                             "[HKEY_CURRENT_USER\\Software\\Kalvora\\Sudoku]\n"
                             "\"Path\"=\"/opt/gra/sudoku\"\n"
                             "\"Linie\"=\"a\\nb\\rc\\0d\"\n"
                             "\"Zle\"=dword:xyz\n"
                             "\"_g2\"=hex(2):25,00,41,00,00,00\n"
                             "\"Long\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,17,18,\\\n"
                             "  19,1a\n"
                             "\"Zn\xff\xfe\"=\"\xc3\x28\"\n"
                             "\n"
                             "[HKEY_CURRENT_USER\\Software\\Kalvora\\Sudoku\\Lista]\n"
                             "\"IlePoz\"=dword:00000000\n"
                             "garbage \\\n"
                             "\n"
                             "@=hex(123):\n"
                             "\"bad\"=hex:zz,\\\n"
                             "\n"
                             "\"after\"=dword:00000001\n"
                             "\n";
    const auto hive = Parse(text);
    ASSERT_TRUE(hive);
    EXPECT_EQ(Serialise(*hive), text);
    EXPECT_TRUE(Parse(Export(*hive)));
    EXPECT_EQ(Serialise(*Parse(Export(*hive))), text);
    EXPECT_EQ(VerbatimLines(*hive), (std::vector<std::string>{"; a note typed by hand", "\"Zle\"=dword:xyz",
                                                              "garbage \\", "\"bad\"=hex:zz,\\"}));
    const auto again = Parse(Serialise(*hive));
    ASSERT_TRUE(again);
    EXPECT_EQ(Serialise(*again), text);
}

TEST(HiveFile, AnyTextRoundTrips)
{
    const std::vector<std::string> texts = {
        "",
        "\"cudzysłów\" i \\ukośnik\\",
        "wiersz 1\r\nwiersz 2\nwiersz 3\r",
        std::string("z\0nul", 5),
        "Zażółć gęślą jaźń ZAŻÓŁĆ GĘŚLĄ JAŹŃ",
        std::string(255, 'x'),
        "\xff\xfe niepoprawny UTF-8 \xc3",
        "= [HKEY_CURRENT_USER\\X] \"a\"=\"b\"",
        "koniec \\",
    };
    Hive hive;
    hive.sections.push_back(Section{"HKEY_CURRENT_USER\\Software\\Kalvora\\Sudoku", {}});
    for (std::size_t i = 0; i < texts.size(); ++i) {
        Value value;
        value.name = texts[i].empty() ? std::string(255, 'N') : texts[i] + std::to_string(i);
        value.bytes = texts[i];
        hive.sections[0].entries.push_back(value);
    }
    // Through the UTF-16 file too: bytes that are not UTF-8 come back as they were.
    for (const std::string& file : {Serialise(hive), Export(hive)}) {
        const auto parsed = Parse(file);
        ASSERT_TRUE(parsed);
        ASSERT_EQ(parsed->sections.size(), 1u);
        ASSERT_EQ(parsed->sections[0].entries.size(), texts.size());
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const auto& original = std::get<Value>(hive.sections[0].entries[i]);
            const auto* value = std::get_if<Value>(&parsed->sections[0].entries[i]);
            ASSERT_NE(value, nullptr) << "text " << i;
            EXPECT_EQ(value->name, original.name) << "text " << i;
            EXPECT_EQ(value->bytes, texts[i]) << "text " << i;
        }
    }
}

TEST(HiveFile, ExportIsWhatRegeditWrites)
{
    Hive hive;
    hive.sections.push_back(Section{"HKEY_CURRENT_USER\\Software\\Kalvora\\Sudoku\\Lista", {}});
    Value name;
    name.name = "_g1";
    name.bytes = "Zofia \xC5\x81\xC4\x99" "cka \xF0\x9F\x98\x80";
    Value time;
    time.name = "_t1";
    time.type = TypeDWord;
    time.spelling = Spelling::DWord;
    time.number = 10;
    hive.sections[0].entries = {name, time};
    const std::u16string expected = u"\uFEFFWindows Registry Editor Version 5.00\r\n"
                                    u"\r\n"
                                    u"[HKEY_CURRENT_USER\\Software\\Kalvora\\Sudoku\\Lista]\r\n"
                                    u"\"_g1\"=\"Zofia \u0141\u0119cka \U0001F600\"\r\n"
                                    u"\"_t1\"=dword:0000000a\r\n"
                                    u"\r\n";
    std::string bytes;
    for (const char16_t unit : expected) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    EXPECT_EQ(Export(hive), bytes);
}

TEST(HiveFile, NotARegistryFileIsRefused)
{
    EXPECT_FALSE(Parse("garbage\n[HKEY_CURRENT_USER\\A]\n"));
    EXPECT_FALSE(Parse(std::string("\0\0\0\x01binary", 10)));
    EXPECT_FALSE(Parse(std::string("\xff\xfeW\0i\0n\0", 8))); // the start of a UTF-16 export
    EXPECT_FALSE(Parse(std::string("\xfe\xff\0R\0E\0G", 8)));  // big-endian UTF-16: not regedit's
    EXPECT_TRUE(Parse(Utf16FileBytes("REGEDIT4\n")));
    EXPECT_TRUE(Parse(""));
    EXPECT_TRUE(Parse("\n  \n"));
    EXPECT_TRUE(Parse("REGEDIT4\n"));
}

TEST(HiveFile, RepeatedNamesAndSectionsLoseNothing)
{
    const auto hive = Parse("Windows Registry Editor Version 5.00\n"
                            "[HKEY_CURRENT_USER\\A]\n"
                            "\"x\"=dword:00000001\n"
                            "[hkey_current_user\\a]\n"
                            "\"X\"=dword:00000002\n");
    ASSERT_TRUE(hive);
    ASSERT_EQ(hive->sections.size(), 1u);
    EXPECT_EQ(FindValue(*hive, "HKEY_CURRENT_USER\\A", "x")->number, 2u);
    EXPECT_EQ(VerbatimLines(*hive), std::vector<std::string>{"\"x\"=dword:00000001"});
}

TEST(HiveFile, JunkEndingInABackslashDoesNotSwallowTheNextValue)
{
    for (const std::string next : {"@=dword:00000001", "\"b\"=dword:00000001"}) {
        const auto hive = Parse("Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n"
                                "\"a\"=hex:zz,\\\n" + next + "\n");
        ASSERT_TRUE(hive);
        EXPECT_EQ(VerbatimLines(*hive), std::vector<std::string>{"\"a\"=hex:zz,\\"}) << next;
        const auto again = Parse(Serialise(*hive));
        ASSERT_TRUE(again);
        EXPECT_EQ(Serialise(*again), Serialise(*hive)) << next;
    }
}

TEST(HiveFile, MalformedValuesAreKeptAsText)
{
    const std::vector<std::string> lines = {
        "\"a\"=dword:123456789",      // nine digits
        "\"a\"=dword:",               // no digits
        "\"a\"=hex:1",                // half a byte
        "\"a\"=hex:01,",              // trailing comma
        "\"a\"=hex(zz):01",           // bad type
        "\"a\"=\"unterminated",       // no closing quote
        "\"a\"=\"bad \\q escape\"",   // unknown escape
        "\"a\"=\"x\" trailing",       // text after the value
        "\"a\" missing equals",       //
        "[-HKEY_CURRENT_USER\\A]",    // a deletion line
        "[HKEY_CURRENT_USER\\\\A]",   // empty key name
        "\"a\"=-",                    // a value deletion
    };
    for (const auto& line : lines) {
        const std::string text = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\A]\n" + line + "\n";
        const auto hive = Parse(text);
        ASSERT_TRUE(hive) << line;
        EXPECT_EQ(VerbatimLines(*hive), std::vector<std::string>{line});
        EXPECT_EQ(Serialise(*hive), text + "\n") << line; // regedit's blank line at the end
    }
}

TEST(HiveFile, HugeAndGarbageInputStaysBounded)
{
    // A very long line and many short garbage lines are kept, not choked on.
    std::string text = "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"long\"=\"";
    text += std::string(2'000'000, 'y');
    text += "\"\n";
    for (int i = 0; i < 100'000; ++i)
        text += "\"" + std::to_string(i % 1000) + "\"=dword:00000001\n@\\\n";
    const auto hive = Parse(text);
    ASSERT_TRUE(hive);
    EXPECT_EQ(FindValue(*hive, "HKEY_CURRENT_USER\\A", "long")->bytes.size(), 2'000'000u);
    const auto again = Parse(Serialise(*hive));
    ASSERT_TRUE(again);
    EXPECT_TRUE(Serialise(*again) == Serialise(*hive));

    // A run of garbage lines is held as one piece of text, not a line each.
    std::string garbage = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\A]\n";
    for (int i = 0; i < 100'000; ++i)
        garbage += "#\n";
    const auto runs = Parse(garbage);
    ASSERT_TRUE(runs);
    EXPECT_EQ(runs->sections[0].entries.size(), 1u);
    EXPECT_TRUE(Serialise(*runs) == garbage + "\n"); // no text diff of 100,000 lines on failure
}

TEST(HiveFile, ReadsTextStoredAsUtf16)
{
    EXPECT_EQ(Utf16LeToUtf8(std::string("Z\0\x7c\x01\x3d\xd8\x00\xde\0\0", 10)), "Z\xC5\xBC\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf16LeToUtf8(std::string("\x00\xd8", 2)), "\xEF\xBF\xBD");

    // A whole file: lone surrogates, a byte that was not UTF-8 (U+DC80 to U+DCFF), half a unit at the end.
    EXPECT_EQ(FileText(std::string("\xff\xfeZ\0\xff\xdc\x00\xd8\r\0\n\0!", 13)),
              "Z\xff\xEF\xBF\xBD\r\n\xEF\xBF\xBD");
    EXPECT_EQ(FileText(Utf16FileBytes("a\xC3\xED\xA0\x80\xF0\x9F\x98\x80")), "a\xC3\xED\xA0\x80\xF0\x9F\x98\x80");
}
