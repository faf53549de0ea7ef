// The "Registro(s)" tab and the login panel that follows the current profile.
#include "service_fixture.h"

#include "app/data_grid.h"
#include "app/local_message_dlg.h"
#include "app/table_model.h"
#include "profiles/profile_operations.h"
#include "sending/send_queue.h"

#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <algorithm>
#include <map>

namespace nfp::test {
namespace {

class ProfileListTest : public MainWindowServiceTest {
protected:
    void StoreTwo()
    {
        SaveProfile(*store, "11222333000181", "demo", "demo123", 0, Folder("um").toStdString() + "/");
        SaveProfile(*store, "44555666000181", "contador", "conta456", 1, Folder("dois").toStdString() + "/");
    }
    // Makes `row` current as a click in the grid does.
    void Choose(TF_NFP& w, int row)
    {
        w.DBGrid_Registros->selectionModel()->setCurrentIndex(
            w.DBGrid_Registros->model()->index(row, 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    // The colour that dominates the send-flag cell of `row`.
    QString FlagColour(TF_NFP& w, int row)
    {
        w.PageControl->setCurrentWidget(w.TabSheet_Registro);
        w.DBGrid_Registros->resize(w.DBGrid_Registros->size());
        const QImage image = w.DBGrid_Registros->viewport()->grab().toImage();
        const QRect cell = w.DBGrid_Registros->visualRect(w.DBGrid_Registros->model()->index(row, 4));
        int red = 0, green = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.red() > 150 && c.green() < 80 && c.blue() < 80)
                    ++red;
                if (c.green() > 100 && c.red() < 80 && c.blue() < 80)
                    ++green;
            }
        if (red > 5 && green == 0)
            return "cross";
        if (green > 5 && red == 0)
            return "tick";
        return "none";
    }
    // Pixels of a drawn cell (its grid lines left out) that differ from
    // the colour filling most of it: 0 for a blank cell.
    int InkPixels(TF_NFP& w, int row, int column)
    {
        w.PageControl->setCurrentWidget(w.TabSheet_Registro);
        const QImage image = w.DBGrid_Registros->viewport()->grab().toImage();
        const QRect cell =
            w.DBGrid_Registros->visualRect(w.DBGrid_Registros->model()->index(row, column)).adjusted(1, 1, -2, -2);
        std::map<QRgb, int> counts;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                ++counts[image.pixel(x, y)];
        int most = 0, total = 0;
        for (const auto& [colour, count] : counts) {
            most = std::max(most, count);
            total += count;
        }
        return total - most;
    }
};

TEST_F(ProfileListTest, PanelFollowsTheCurrentProfileAndStaysLocked)
{
    StoreTwo();
    TF_NFP& w = Open();
    ASSERT_EQ(w.Registros_Table().RecordCount(), 2);
    const bool demoFirst = w.Edit_CNPJ->text() == "11222333000181";
    Choose(w, 1);
    EXPECT_EQ(w.Registros_Table().CurrentRow(), 1);
    EXPECT_EQ(w.Edit_Usuario->text(), demoFirst ? "contador" : "demo");
    EXPECT_EQ(w.Edit_CNPJ->text(), demoFirst ? "44555666000181" : "11222333000181");
    EXPECT_EQ(w.RadioGroup_Tipo->itemIndex(), demoFirst ? 1 : 0);
    EXPECT_FALSE(w.Edit_Usuario->isEnabled());
    // The grid writes the category as a word.
    const auto* model = w.DBGrid_Registros->model();
    EXPECT_EQ(model->headerData(1, Qt::Vertical).toString(), QString(QChar(0x25B8)));
    w.PageControl->setCurrentWidget(w.TabSheet_Enviar);
    Choose(w, 0);
    EXPECT_EQ(w.PageControl->currentWidget(), w.TabSheet_Registro);
}

TEST_F(ProfileListTest, DoubleClickTurnsTheTickIntoACrossAndBack)
{
    StoreTwo();
    TF_NFP& w = Open();
    w.resize(w.size());
    QApplication::processEvents();
    EXPECT_EQ(FlagColour(w, 0), "tick");
    Choose(w, 1);
    w.DBGrid_RegistrosDblClick();
    EXPECT_EQ(w.Registros_Table().FieldText("ENVIAR"), "N");
    EXPECT_EQ(FlagColour(w, 1), "cross");
    EXPECT_EQ(FlagColour(w, 0), "tick");
    const QPoint inside = w.DBGrid_Registros->visualRect(w.DBGrid_Registros->model()->index(1, 0)).center();
    QTest::mouseDClick(w.DBGrid_Registros->viewport(), Qt::LeftButton, {}, inside);
    EXPECT_EQ(w.Registros_Table().FieldText("ENVIAR"), "S");
    EXPECT_EQ(FlagColour(w, 1), "tick");
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(ProfileListTest, TheMarkIsStoredTheMomentItIsToggledAndComesBackAtTheNextStart)
{
    StoreTwo();
    {
        TF_NFP& w = Open();
        Choose(w, 1);
        const std::string cnpj = w.Registros_Table().FieldText("CNPJ");
        w.DBGrid_RegistrosDblClick();
        EXPECT_EQ(store->Read(cnpj)->enviar, std::optional<bool>(false));
        w.DBGrid_RegistrosDblClick();
        EXPECT_EQ(store->Read(cnpj)->enviar, std::optional<bool>(true));
        w.DBGrid_RegistrosDblClick();
    }
    TF_NFP& w = Open();
    EXPECT_EQ(FlagColour(w, 0), "tick");
    EXPECT_EQ(FlagColour(w, 1), "cross");
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(ProfileListTest, AMarkTheStoreRefusesStaysAsItWasOnScreenAndOnDisk)
{
    StoreTwo();
    TF_NFP& w = Open();
    Choose(w, 1);
    const std::string cnpj = w.Registros_Table().FieldText("CNPJ");
    // Removed behind the window's back: a mark alone would make a broken profile.
    store->Remove(cnpj);
    const QByteArray before = [&] {
        QFile f(QString::fromStdString(store->FilePath()));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    const QPoint inside = w.DBGrid_Registros->visualRect(w.DBGrid_Registros->model()->index(1, 0)).center();
    QTest::mouseDClick(w.DBGrid_Registros->viewport(), Qt::LeftButton, {}, inside);
    EXPECT_EQ(errors, QStringList{"Failed to set data for 'Enviar'"});
    EXPECT_EQ(w.Registros_Table().FieldText("ENVIAR"), "S");
    EXPECT_EQ(FlagColour(w, 1), "tick");
    QFile f(QString::fromStdString(store->FilePath()));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

TEST_F(ProfileListTest, DoubleClickAndDeleteOnAnEmptyListDoNothing)
{
    TF_NFP& w = Open();
    ScriptedMessageAnswers answers;
    w.DBGrid_RegistrosDblClick();
    QTest::keyClick(w.DBGrid_Registros, Qt::Key_Delete);
    EXPECT_TRUE(answers.Asked().empty());
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(w.Registros_Table().RecordCount(), 0);
}

TEST_F(ProfileListTest, DeleteAsksAndRemovesOnlyOnYes)
{
    SaveProfile(*store, "11222333000181", "demo", "demo123", 1, "/um/");
    TF_NFP& w = Open();
    for (int answer : {MsgResult::No, MsgResult::Cancel}) {
        ScriptedMessageAnswers answers{answer};
        QTest::keyClick(w.DBGrid_Registros, Qt::Key_Delete);
        ASSERT_EQ(answers.Asked().size(), 1u);
        EXPECT_EQ(answers.Asked()[0].kind, MessageKind::Confirmation);
        EXPECT_EQ(answers.Asked()[0].buttons, MsgButton::YesNo);
        EXPECT_EQ(answers.Asked()[0].focusResult, MsgResult::No);
        EXPECT_EQ(w.Registros_Table().RecordCount(), 1);
        EXPECT_EQ(store->ProfileKeys().size(), 1u);
    }
    ScriptedMessageAnswers answers{MsgResult::Yes};
    QTest::keyClick(w.DBGrid_Registros, Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    EXPECT_EQ(w.Registros_Table().RecordCount(), 0);
    EXPECT_TRUE(store->ProfileKeys().empty());
    for (QLineEdit* e : {w.Edit_Usuario, w.Edit_Senha, w.Edit_CNPJ}) {
        EXPECT_TRUE(e->text().isEmpty());
        EXPECT_TRUE(e->isEnabled());
    }
    EXPECT_TRUE(w.RadioGroup_Tipo->isEnabled());
    EXPECT_EQ(w.RadioGroup_Tipo->itemIndex(), 1);
}

TEST_F(ProfileListTest, DeleteRemovesTheSelectedProfileAndThePanelFollowsTheNextOne)
{
    struct Case {
        const char* name;
        int selected;
        std::vector<std::string> storedAfter;
        QString panelAfter; // CNPJ shown, locked
    };
    const Case cases[] = {
        {"the first of three", 0, {"44555666000181", "77888999000181"}, "44555666000181"},
        {"the middle one", 1, {"11222333000181", "77888999000181"}, "77888999000181"},
        {"the last one", 2, {"11222333000181", "44555666000181"}, "44555666000181"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        for (const std::string& key : store->ProfileKeys())
            store->Remove(key);
        SetUp();
        SaveProfile(*store, "11222333000181", "demo", "demo123", 0, "/um/");
        SaveProfile(*store, "44555666000181", "contador", "conta456", 1, "/dois/");
        SaveProfile(*store, "77888999000181", "outro", "outra789", 2, "/tres/");
        TF_NFP& w = Open();
        ASSERT_EQ(w.Registros_Table().RecordCount(), 3);
        w.DBGrid_Registros->selectRow(c.selected);
        ASSERT_EQ(w.Registros_Table().CurrentRow(), c.selected);
        ScriptedMessageAnswers answers{MsgResult::Yes};
        QTest::keyClick(w.DBGrid_Registros, Qt::Key_Delete);
        EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
        EXPECT_EQ(store->ProfileKeys(), c.storedAfter);
        ASSERT_EQ(w.Registros_Table().RecordCount(), 2);
        EXPECT_EQ(w.Edit_CNPJ->text(), c.panelAfter);
        EXPECT_FALSE(w.Edit_CNPJ->isEnabled());
        EXPECT_EQ(w.Registros_Table().FieldText("CNPJ"), c.panelAfter.toStdString());
    }
}

TEST_F(ProfileListTest, StoredCategoryAndLongUserGoIntoTheRequestAsThePanelShowsThem)
{
    // 7 shows a blank in the grid and chooses Consumidores, so 3 goes out;
    // a 25-character user name is listed and sent cut to 20.
    SaveProfile(*store, "11222333000181", "usuario-de-vinte-e-cinco", "demo123", 7, Folder("um").toStdString() + "/");
    SaveProfile(*store, "44555666000181", "contador", "conta456", 1, Folder("dois").toStdString() + "/");
    TF_NFP& w = Open();
    ASSERT_EQ(w.Registros_Table().FieldText("CNPJ"), "11222333000181");
    EXPECT_EQ(w.RadioGroup_Tipo->itemIndex(), 2);
    EXPECT_EQ(w.Edit_Usuario->text(), "usuario-de-vinte-e-c");
    // The category cell as drawn: blank for 7, "Contabilista" for 1.
    EXPECT_EQ(InkPixels(w, 0, 2), 0);
    EXPECT_GT(InkPixels(w, 1, 2), 20);
    WriteFile("um", "A.139", "a\n");
    AppendQueueRow(w.Enviar_Table(), "A.139", Folder("um").toStdString() + "/");
    ScriptedMessageAnswers answers{MsgResult::Yes, MsgResult::No};
    w.BitBtn_Enviar->click();
    const auto requests = Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].categoria, "3");
    EXPECT_EQ(requests[0].usuario, "usuario-de-vinte-e-c");
    EXPECT_EQ(requests[0].cnpj, "11222333000181");
}

} // namespace
} // namespace nfp::test
