#include "profiles/profile_table.h"

#include <gtest/gtest.h>

namespace nfp {
namespace {

TEST(ProfileTable, FieldsWidthsAndArrivalOrder) {
    MemoryTable t(ProfileTableLayout());
    EXPECT_EQ(t.Name(), "CDS_Registros");
    const std::pair<const char*, std::size_t> widths[] = {
        {"CNPJ", 14}, {"USUARIO", 20}, {"SENHA", 20}, {"CAMINHO", 150}, {"ENVIAR", 1},
    };
    t.Append();
    for (const auto& [name, width] : widths) {
        t.SetField(name, std::string(width + 5, 'x'));
        EXPECT_EQ(t.FieldText(name).size(), width) << name;
    }
    t.SetField("TIPO", std::int32_t{2});
    t.Post();
    t.Append();
    t.SetField("CNPJ", "000");
    t.Post();
    EXPECT_EQ(t.TextAt(0, t.FieldIndex("CNPJ")), std::string(14, 'x'));
    EXPECT_EQ(t.TextAt(1, t.FieldIndex("CNPJ")), "000");
    EXPECT_EQ(t.FieldCount(), 6);
}

} // namespace
} // namespace nfp
