// Reading profiles from the Windows registry editor's exports: the two
// formats, the editor's escapes and hex forms, and files that are none.
#include "profiles/profile_codec.h"
#include "profiles/registry_export.h"
#include "profiles/registry_profiles.h"
#include "util/text_codec.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace nfp {
namespace {

std::string Fixture(const char* name) {
    std::ifstream in(std::string(NFP_PROFILES_TEST_DATA) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in.good()) << name;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A version 5 export as the editor writes it: UTF-16LE with its mark, CR LF.
std::string Version5(const std::string& utf8Body) {
    std::string text = "Windows Registry Editor Version 5.00\r\n\r\n" + utf8Body;
    std::string out = "\xFF\xFE";
    std::size_t pos = 0;
    while (pos < text.size()) {
        char32_t cp = *DecodeUtf8At(text, pos);
        const auto unit = [&](char32_t u) {
            out += static_cast<char>(u & 0xFF);
            out += static_cast<char>(u >> 8);
        };
        if (cp >= 0x10000) {
            cp -= 0x10000;
            unit(0xD800 + (cp >> 10));
            unit(0xDC00 + (cp & 0x3FF));
        } else {
            unit(cp);
        }
    }
    return out;
}

// A REGEDIT4 export: Windows-1252 bytes.
std::string Regedit4(const std::string& utf8Body) {
    return Utf8ToWindows1252("REGEDIT4\r\n\r\n" + utf8Body);
}

// A string value's data as the file writes it: the scrambled bytes as
// characters, with the editor's escapes.
std::string ScrambledData(const std::string& plain) {
    std::string out = "\"";
    for (const char c : Windows1252ToUtf8(ScrambleBytes(Utf8ToWindows1252(plain), true))) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

constexpr const char* kKey = "[HKEY_CURRENT_USER\\Software\\Microsoft\\Zeltra\\11222333000181]\r\n";

struct Expected {
    const char* cnpj;
    const char* keyPath;
    const char* usuario;
    const char* senha;
    std::int32_t tipo;
    const char* caminho;
};

TEST(RegistryExport, BothFormatsOfTheFixtureHoldTheSameThreeProfiles) {
    const Expected expected[] = {
        {"11222333000181", "HKEY_CURRENT_USER\\Software\\Microsoft\\Zeltra\\11222333000181", "abc", "Mãe1ºó", 0,
         "C:\\NFP\\LOJA1\\"},
        {"44555666000181", "HKEY_CURRENT_USER\\Software\\Microsoft\\Zeltra\\44555666000181", "joão da silva",
         "9())", 1, "C:\\Contábil\\Ação\\"},
        {"77888999000181",
         "HKEY_USERS\\S-1-5-21-1004336348-1177238915-682003330-1001\\Software\\Microsoft\\Zeltra\\77888999000181",
         "outro", "Ruaõºx", 2, "D:\\Dados\\NFP\\"},
    };
    for (const auto& [file, format] : {std::pair{"perfis-versao5.reg", RegistryExportFormat::Version5},
                                       std::pair{"perfis-regedit4.reg", RegistryExportFormat::Regedit4}}) {
        SCOPED_TRACE(file);
        const RegistryExport parsed = ParseRegistryExport(Fixture(file));
        EXPECT_EQ(parsed.format, format);
        EXPECT_TRUE(parsed.problems.empty());
        EXPECT_EQ(parsed.keys.size(), 6u);
        // The codec's worked example: "abc" is stored as C5 C7 C9.
        ASSERT_GE(parsed.keys.size(), 2u);
        ASSERT_FALSE(parsed.keys[1].values.empty());
        EXPECT_EQ(parsed.keys[1].values[0].name, "Usuario");
        EXPECT_EQ(parsed.keys[1].values[0].text, U"\u00C5\u00C7\u00C9");
        // A quote inside and a backslash at the end, after the escapes.
        EXPECT_EQ(parsed.keys[1].values[1].text, U"\u00B1H\u00CB\u02DC\"\\");

        const auto profiles = FindRegistryProfiles(parsed);
        ASSERT_EQ(profiles.size(), std::size(expected));
        for (std::size_t i = 0; i < profiles.size(); ++i) {
            const RegistryProfile& p = profiles[i];
            const Expected& e = expected[i];
            EXPECT_EQ(p.cnpj, e.cnpj);
            EXPECT_EQ(p.keyPath, e.keyPath);
            EXPECT_EQ(p.usuario, e.usuario);
            EXPECT_EQ(p.senha, e.senha);
            EXPECT_EQ(p.tipo, e.tipo);
            EXPECT_EQ(p.caminho, e.caminho);
            EXPECT_TRUE(p.problems.empty()) << p.problems.front();
            EXPECT_FALSE(p.repeated);
        }
    }
}

TEST(RegistryExport, TheBytesWindows1252LeavesUndefinedComeBackAsThemselves) {
    // The fixture's second password is stored as 9D 8D 8F 90.
    const RegistryExport v5 = ParseRegistryExport(Fixture("perfis-versao5.reg"));
    const RegistryExport r4 = ParseRegistryExport(Fixture("perfis-regedit4.reg"));
    for (const RegistryExport* parsed : {&v5, &r4}) {
        ASSERT_GE(parsed->keys.size(), 3u);
        const RegistryValue& senha = parsed->keys[2].values[2];
        EXPECT_EQ(senha.name, "Senha");
        EXPECT_EQ(senha.text, U"\u009D\u008D\u008F\u0090");
    }
    // 81 comes back as itself too, and unscrambles as any byte does.
    const std::string scrambled = ScrambleBytes("xyz", true) + "\x81";
    const std::string body = std::string(kKey) + "\"Senha\"=\"" + Windows1252ToUtf8(scrambled) +
                             "\"\r\n\"Tipo\"=dword:00000000\r\n";
    for (const std::string& file : {Version5(body), Regedit4(body)}) {
        const auto profiles = FindRegistryProfiles(ParseRegistryExport(file));
        ASSERT_EQ(profiles.size(), 1u);
        EXPECT_EQ(profiles[0].senha, "xyz\x1A");
    }
}

TEST(RegistryExport, WhatIsNotAnExportIsRefused) {
    const std::string cases[] = {
        "",
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Zeltra\\11222333000181]\r\n\"Tipo\"=dword:00000000\r\n",
        "[11222333000181]\nUsuario=@ByteArray(\\xc5\\xc7\\xc9)\nTipo=0\n",
        "REGEDIT5\r\n",
        "Windows Registry Editor Version 4.00\r\n",
        " REGEDIT4\r\n",
        std::string("\xFF\xFEh\0e\0l\0l\0o\0", 12),
        "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n",
        std::string("\x00\x01\x02\xFF\xFE\xFD", 6),
        std::string("\xFF\xFE", 2),
    };
    for (const std::string& bytes : cases) {
        try {
            ParseRegistryExport(bytes);
            ADD_FAILURE() << bytes;
        } catch (const RegistryExportError& e) {
            EXPECT_STREQ(e.what(), kNotARegistryExport);
        }
    }
}

TEST(RegistryExport, AnExportWithoutProfileKeysHoldsNoProfile) {
    const std::string body =
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Zeltra]\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Zeltra\\Config]\r\n\"Tipo\"=dword:00000000\r\n"
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Zeltra\\1122233300018]\r\n\"Tipo\"=dword:00000000\r\n"
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Zeltra\\11222333000181\\Sub]\r\n\"Tipo\"=dword:00000000\r\n"
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Outra\\11222333000181]\r\n\"Tipo\"=dword:00000000\r\n"
        "[-HKEY_CURRENT_USER\\Software\\Microsoft\\Zeltra\\44555666000181]\r\n\"Tipo\"=dword:00000000\r\n";
    for (const std::string& file : {Version5(""), Regedit4(""), Version5(body), Regedit4(body)}) {
        const RegistryExport parsed = ParseRegistryExport(file);
        EXPECT_TRUE(parsed.problems.empty());
        EXPECT_TRUE(FindRegistryProfiles(parsed).empty());
    }
}

TEST(RegistryExport, ValueForms) {
    struct Case {
        const char* what;
        std::string data; // after "Usuario"=
        std::u32string text;
        RegistryValueType type;
    };
    const Case cases[] = {
        {"escapes", R"("a\\b\"c")", U"a\\b\"c", RegistryValueType::String},
        {"another backslash stands for itself", R"("a\nb\x")", U"a\\nb\\x", RegistryValueType::String},
        {"line breaks inside the quotes", "\"a\rb\r\nc\nd\"", U"a\rb\r\nc\nd", RegistryValueType::String},
        {"empty", R"("")", U"", RegistryValueType::String},
        {"hex(2)", "hex(2):61,00,62,00,00,00", U"ab", RegistryValueType::ExpandString},
        {"hex(1) over continuation lines",
         "hex(1):c5,00,c7,00,\\\r\n  c9,00,\\\r\n  00,00", U"\u00C5\u00C7\u00C9", RegistryValueType::String},
        {"hex(1) read up to its first zero", "hex(1):61,00,00,00,62,00,00,00", U"a", RegistryValueType::String},
        {"hex(1) in capitals, blanks around", "HEX(1): 41 , 00 ,42,00", U"AB", RegistryValueType::String},
        {"empty hex(1)", "hex(1):", U"", RegistryValueType::String},
        {"binary", "hex:01,02", U"", RegistryValueType::Other},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string body = std::string(kKey) + "\"Usuario\"=" + c.data + "\r\n\"Tipo\"=dword:00000000\r\n";
        const RegistryExport parsed = ParseRegistryExport(Version5(body));
        ASSERT_EQ(parsed.keys.size(), 1u);
        EXPECT_TRUE(parsed.keys[0].problems.empty()) << parsed.keys[0].problems.front().message;
        ASSERT_EQ(parsed.keys[0].values.size(), 2u);
        EXPECT_EQ(parsed.keys[0].values[0].type, c.type);
        EXPECT_EQ(parsed.keys[0].values[0].text, c.text);
        EXPECT_EQ(parsed.keys[0].values[1].name, "Tipo");
    }
}

TEST(RegistryExport, TheCategoryAsADword) {
    struct Case {
        const char* data;
        std::int32_t tipo;
    };
    for (const Case& c : {Case{"dword:00000002", 2}, Case{"dword:7", 7}, Case{"DWORD:0000000A", 10},
                          Case{"dword:ffffffff", -1}, Case{"hex(4):01,00,00,00", 1}}) {
        const std::string body = std::string(kKey) + "\"Tipo\"=" + c.data + "\r\n";
        const auto profiles = FindRegistryProfiles(ParseRegistryExport(Regedit4(body)));
        ASSERT_EQ(profiles.size(), 1u) << c.data;
        EXPECT_EQ(profiles[0].tipo, c.tipo) << c.data;
        EXPECT_TRUE(profiles[0].problems.empty()) << c.data;
    }
}

TEST(RegistryExport, Regedit4HexStringsAreSingleBytesUnlessPlainlyUtf16) {
    struct Case {
        const char* data;
        const char* usuario;
    };
    for (const Case& c : {Case{"hex(1):c5,c7,c9,00", "abc"}, Case{"hex(1):c5,00,c7,00,c9,00,00,00", "abc"},
                          Case{"hex(1):c5,c7,c9", "abc"}}) {
        const std::string body = std::string(kKey) + "\"Usuario\"=" + c.data + "\r\n\"Tipo\"=dword:0\r\n";
        const auto profiles = FindRegistryProfiles(ParseRegistryExport(Regedit4(body)));
        ASSERT_EQ(profiles.size(), 1u);
        EXPECT_EQ(profiles[0].usuario, c.usuario) << c.data;
    }
}

TEST(RegistryExport, KeysDeletedValuesAndKeysWrittenTwice) {
    const std::string body =
        std::string(kKey) + "\"Usuario\"=" + ScrambledData("primeiro") + "\r\n\"Tipo\"=dword:1\r\n"
        "\"Caminho\"=" + ScrambledData("C:\\A\\") + "\r\n\r\n"
        // The same key again, in other capitals: its values win.
        "[hkey_current_user\\software\\microsoft\\ZELTRA\\11222333000181]\r\n"
        "\"usuario\"=" + ScrambledData("segundo") + "\r\n\"Caminho\"=-\r\n\r\n"
        // The same CNPJ under another root: a second profile, marked repeated.
        "[HKEY_USERS\\.DEFAULT\\Software\\Microsoft\\Zeltra\\11222333000181]\r\n"
        "\"Usuario\"=" + ScrambledData("terceiro") + "\r\n\"Tipo\"=dword:2\r\n"
        // A key the file deletes, with values: neither is read.
        "[-HKEY_CURRENT_USER\\Software\\Microsoft\\Zeltra\\44555666000181]\r\n"
        "\"Tipo\"=dword:0\r\nqualquer coisa\r\n"
        // Keys written and then deleted, one by a key above it.
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Zeltra\\55666777000155]\r\n\"Tipo\"=dword:0\r\n"
        "[-hkey_current_user\\software\\microsoft\\zeltra\\55666777000155]\r\n"
        "[HKEY_USERS\\S-1\\Software\\Microsoft\\Zeltra\\66777888000166]\r\n\"Tipo\"=dword:0\r\n"
        "[-HKEY_USERS\\S-1\\Software]\r\n"
        "; a comment\r\n"
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Zeltra\\77888999000181]   \r\n"
        "@=\"padrão\"\r\n\"Tipo\" = dword:00000000\r\n";
    const auto profiles = FindRegistryProfiles(ParseRegistryExport(Version5(body)));
    ASSERT_EQ(profiles.size(), 3u);
    EXPECT_EQ(profiles[0].cnpj, "11222333000181");
    EXPECT_EQ(profiles[0].usuario, "segundo");
    EXPECT_EQ(profiles[0].tipo, 1);
    EXPECT_EQ(profiles[0].caminho, ""); // deleted by the later block
    EXPECT_FALSE(profiles[0].repeated);
    EXPECT_EQ(profiles[1].cnpj, "11222333000181");
    EXPECT_EQ(profiles[1].usuario, "terceiro");
    EXPECT_TRUE(profiles[1].repeated);
    EXPECT_EQ(profiles[2].cnpj, "77888999000181");
    for (const auto& p : profiles) EXPECT_TRUE(p.problems.empty()) << p.cnpj << ": " << p.problems.front();
}

TEST(RegistryExport, WhatCannotBeReadIsToldWithTheProfileAndTheRestIsRead) {
    const std::string body =
        std::string(kKey) + "\"Usuario\"=dword:00000001\r\n\"Senha\"=\"\u4E2D\"\r\n\"Tipo\"=\"1\"\r\n" +
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Zeltra\\44555666000181]\r\n"
        "\"Usuario\"=" + ScrambledData("ok") + "\r\n"
        "lixo\r\n"
        "\"Senha\"=hex(1):zz,\\\r\n  00,00\r\n"
        "\"Caminho\"=\"sem fim\r\n";
    const auto profiles = FindRegistryProfiles(ParseRegistryExport(Version5(body)));
    ASSERT_EQ(profiles.size(), 2u);
    EXPECT_EQ(profiles[0].problems,
              (std::vector<std::string>{"o valor \"Usuario\" não é um texto",
                                        "o valor \"Senha\" tem o caractere '\u4E2D' (U+4E2D), que não existe em "
                                        "Windows-1252",
                                        "o valor \"Tipo\" não é um número (dword)"}));
    EXPECT_FALSE(profiles[0].tipo.has_value());
    EXPECT_FALSE(profiles[1].tipo.has_value());
    EXPECT_EQ(profiles[1].usuario, "ok");
    EXPECT_EQ(profiles[1].problems,
              (std::vector<std::string>{"linha 9: linha não reconhecida",
                                        "linha 10: byte hexadecimal inválido",
                                        "linha 12: texto sem as aspas de fechamento", "falta o valor \"Tipo\""}));
}

TEST(RegistryExport, AnyBytesAfterAHeaderAreReadWithoutFailing) {
    // Every byte value after each header, and cut at every length.
    std::string tail;
    for (int i = 0; i < 256; ++i) tail += static_cast<char>(i);
    tail += "\r\n[HKEY\\Zeltra\\11222333000181]\r\n\"Usuario\"=hex(1):\\\r\n\"Tipo\"=dword:\"\r\n@=\"\\";
    for (const std::string& head : {std::string("REGEDIT4\r\n"), std::string("Windows Registry Editor Version 5.00\n"),
                                    Version5("")}) {
        const std::string whole = head + tail;
        for (std::size_t n = head.size(); n <= whole.size(); ++n) {
            const RegistryExport parsed = ParseRegistryExport(std::string_view(whole).substr(0, n));
            FindRegistryProfiles(parsed);
        }
    }
}

} // namespace
} // namespace nfp
