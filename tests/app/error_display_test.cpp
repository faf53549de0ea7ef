// The global error display: an error that leaves an event handler shows its
// text and the program goes on; a silent abort shows nothing.
#include "app/error_display.h"

#include "util/silent_abort.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QStringList>

#include <gtest/gtest.h>

#include <stdexcept>

namespace nfp {
namespace {

class Throwing : public QObject {
public:
    enum What { Error, Abort, Nothing };
    explicit Throwing(What what) : what_(what) {}
    bool event(QEvent* e) override
    {
        if (e->type() != QEvent::User)
            return QObject::event(e);
        if (what_ == Error)
            throw std::runtime_error("Cannot open file \"/x/A.139\". No such file or directory");
        if (what_ == Abort)
            throw SilentAbort();
        return true;
    }

private:
    What what_;
};

class ErrorDisplayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetErrorSink([this](const QString& m) { shown << m; });
    }
    void TearDown() override { SetErrorSink({}); }
    QStringList shown;
};

TEST_F(ErrorDisplayTest, HandlersRunGuarded)
{
    EXPECT_TRUE(RunGuarded([] {}));
    EXPECT_FALSE(RunGuarded([] { throw SilentAbort(); }));
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_FALSE(RunGuarded([] { throw std::runtime_error("Failed to set data for 'Usuario'"); }));
    EXPECT_EQ(shown, QStringList{"Failed to set data for 'Usuario'"});
}

TEST_F(ErrorDisplayTest, ExceptionsLeavingAnyEventHandlerReachTheDisplay)
{
    // The application object of this test program is a GuardedApplication.
    for (auto what : {Throwing::Error, Throwing::Abort, Throwing::Nothing}) {
        Throwing receiver(what);
        QEvent event(QEvent::User);
        QCoreApplication::sendEvent(&receiver, &event);
    }
    EXPECT_EQ(shown, QStringList{"Cannot open file \"/x/A.139\". No such file or directory"});
}

} // namespace
} // namespace nfp
