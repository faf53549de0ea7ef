// While a question or a send keeps the queue and profile controls off, the
// focus must not slide down the tab chain onto Sair and stay there.
#include "main_window_fixture.h"

#include "app/data_grid.h"
#include "app/local_message_dlg.h"
#include "profiles/profile_operations.h"

#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <functional>

namespace nfp::test {
namespace {

class BusyFocusTest : public MainWindowTest {};

struct FocusCase {
    const char* what;
    bool withProfile;
    std::function<QWidget*(TF_NFP&)> page;
    std::function<QWidget*(TF_NFP&)> start;
    std::function<void(TF_NFP&)> act;
    int answer;
    // Where the focus is expected afterwards.
    std::function<QWidget*(TF_NFP&)> after;
};

TEST_F(BusyFocusTest, FocusReturnsAfterTheQuestionOrTheSendInsteadOfStayingOnSair)
{
    const FocusCase cases[] = {
        {"profile removal answered No", true, [](TF_NFP& w) { return w.TabSheet_Registro; },
         [](TF_NFP& w) -> QWidget* { return w.DBGrid_Registros; },
         [](TF_NFP& w) { QTest::keyClick(w.DBGrid_Registros, Qt::Key_Delete); }, MsgResult::No,
         [](TF_NFP& w) -> QWidget* { return w.DBGrid_Registros; }},
        {"send question answered No", false, [](TF_NFP& w) { return w.TabSheet_Enviar; },
         [](TF_NFP& w) -> QWidget* { return w.BitBtn_Enviar; }, [](TF_NFP& w) { w.BitBtn_Enviar->click(); },
         MsgResult::No, [](TF_NFP& w) -> QWidget* { return w.BitBtn_Enviar; }},
        // The send ends on Resultado: the focus moves on to that page's first button.
        {"send answered Yes", false, [](TF_NFP& w) { return w.TabSheet_Enviar; },
         [](TF_NFP& w) -> QWidget* { return w.BitBtn_Enviar; }, [](TF_NFP& w) { w.BitBtn_Enviar->click(); },
         MsgResult::Yes, [](TF_NFP& w) -> QWidget* { return w.BitBtn_Reconsultar; }},
    };
    for (const FocusCase& c : cases) {
        SCOPED_TRACE(c.what);
        RemoveProfile(*store, "11222333000181");
        if (c.withProfile)
            SaveProfile(*store, "11222333000181", "demo", "demo123", 0, Folder("um").toStdString() + "/");
        TF_NFP& w = Open();
        w.PageControl->setCurrentWidget(c.page(w));
        c.start(w)->setFocus(Qt::MouseFocusReason);
        ASSERT_EQ(w.focusWidget(), c.start(w));
        {
            ScriptedMessageAnswers answers{c.answer};
            c.act(w);
            EXPECT_EQ(answers.Pending(), 0u);
        }
        QApplication::processEvents();
        EXPECT_NE(w.focusWidget(), w.BitBtn_Sair);
        EXPECT_EQ(w.focusWidget(), c.after(w))
            << (w.focusWidget() ? w.focusWidget()->metaObject()->className() : "none") << " "
            << (w.focusWidget() ? w.focusWidget()->objectName().toStdString() : "");
        EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
        window.reset();
    }
}

} // namespace
} // namespace nfp::test
