// What the profile list and the login panel show for the profile table.
#include "profiles/profile_list.h"
#include "profiles/profile_table.h"

#include <gtest/gtest.h>

namespace nfp {
namespace {

void AddRow(MemoryTable& t, const char* cnpj, const char* user, int tipo)
{
    t.Append();
    t.SetField("CNPJ", cnpj);
    t.SetField("USUARIO", user);
    t.SetField("SENHA", "s");
    t.SetField("TIPO", tipo);
    t.SetField("ENVIAR", "S");
    t.Post();
}

TEST(ProfileList, CategoryCellsAndPositions)
{
    struct Case { int tipo; const char* cell; int position; };
    const Case cases[] = {
        {0, "Contribuinte", 0}, {1, "Contabilista", 1}, {2, "Consumidor", 2},
        {3, " ", 2},            {7, " ", 2},            {-1, " ", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CategoryCellText(c.tipo), c.cell) << c.tipo;
        EXPECT_EQ(CategoryPosition(c.tipo), c.position) << c.tipo;
    }
}

TEST(ProfileList, SendFlagPicturesAndToggle)
{
    EXPECT_EQ(SendFlagPictureFor("S"), SendFlagPicture::Marked);
    EXPECT_EQ(SendFlagPictureFor("N"), SendFlagPicture::NotMarked);
    EXPECT_EQ(SendFlagPictureFor(""), SendFlagPicture::None);
    EXPECT_EQ(SendFlagPictureFor("s"), SendFlagPicture::None);
    EXPECT_EQ(ToggledSendFlag("S"), "N");
    EXPECT_EQ(ToggledSendFlag("N"), "S");
    EXPECT_EQ(ToggledSendFlag(""), "S");
}

TEST(ProfileList, PanelFollowsTheCurrentRowOnceARowIsStored)
{
    MemoryTable t(ProfileTableLayout());
    LoginPanelState empty = LoginPanelFor(t);
    EXPECT_FALSE(empty.locked);
    EXPECT_FALSE(empty.tipoIndex.has_value());

    // The first row being entered does not lock the panel yet.
    t.Append();
    t.SetField("USUARIO", "novo");
    EXPECT_FALSE(LoginPanelFor(t).locked);
    t.SetField("CNPJ", "11222333000181");
    t.Post();
    LoginPanelState one = LoginPanelFor(t);
    EXPECT_TRUE(one.locked);
    EXPECT_EQ(one.usuario, "novo");
    EXPECT_EQ(one.cnpj, "11222333000181");
    EXPECT_EQ(one.tipoIndex, 0);

    AddRow(t, "44555666000181", "contador", 7);
    EXPECT_EQ(LoginPanelFor(t).usuario, "contador");
    EXPECT_EQ(LoginPanelFor(t).tipoIndex, 2);
    // With a row stored, the row being entered shows, blank at first.
    t.Append();
    LoginPanelState entering = LoginPanelFor(t);
    EXPECT_TRUE(entering.locked);
    EXPECT_EQ(entering.usuario, "");
    EXPECT_EQ(entering.tipoIndex, 0);
}

} // namespace
} // namespace nfp
