#include "foundation/DModule_Unit.h"
#include "foundation/MessageBox.h"
#include "sale/Principal_Unit.h"
#include "widgets/Application.h"

#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <QStackedWidget>
#include <QTest>

namespace {

TEST(Principal, FrameOfTheMainWindow) {
    TestDir dir;
    TDModule dm(dir.path());
    dm.DataModuleCreate();
    TPrincipal w(dm);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));

    EXPECT_EQ(w.windowTitle(), "Balcona - [Posto de Vendas]");
    EXPECT_TRUE(w.windowFlags() & Qt::FramelessWindowHint);

    auto* tabs = w.findChild<QStackedWidget*>("TbCtrl_Principal");
    ASSERT_NE(tabs, nullptr);
    QStringList names;
    for (int i = 0; i < tabs->count(); ++i)
        names << tabs->widget(i)->objectName();
    EXPECT_EQ(names, (QStringList{"Tab_Login", "Tab_Vendas", "Tab_Lista", "Tab_WebBrozer"}));
    EXPECT_EQ(tabs->currentWidget()->objectName(), "Tab_Login");

    // Showing the window read the settings file: defaults on a first start.
    EXPECT_TRUE(w.Config.conf_prod_qtd);
    EXPECT_EQ(w.Config.Dt_Sinc_Update, QDateTime(QDate(2022, 1, 1), QTime(0, 0)));
    EXPECT_TRUE(w.Config.Dt_Exe_Update.isValid());
}

TEST(Principal, ClosingClosesTheConnection) {
    TestDir dir;
    TDModule dm(dir.path());
    dm.DataModuleCreate();
    ASSERT_TRUE(dm.FDConnection1.isOpen());
    TPrincipal w(dm);
    w.show();
    w.close();
    EXPECT_FALSE(dm.FDConnection1.isOpen());
}

// Raises from inside an event, as a handler would.
class Raiser : public QObject {
public:
    std::function<void()> action;
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) {
            action();
            return true;
        }
        return QObject::event(e);
    }
};

TEST(Principal, GeneralErrorReport) {
    MessageBox::clearShown();
    Raiser r;
    QEvent e(QEvent::User);

    r.action = [] { throw DbError(QStringLiteral("no such table: vendas")); };
    EXPECT_NO_THROW(QCoreApplication::sendEvent(&r, &e));
    r.action = [] { throw Abort(); };
    EXPECT_NO_THROW(QCoreApplication::sendEvent(&r, &e));
    r.action = [] { throw std::runtime_error("falhou"); };
    EXPECT_NO_THROW(QCoreApplication::sendEvent(&r, &e));
    EXPECT_EQ(MessageBox::shown(), (QStringList{"no such table: vendas", "falhou"}));
}

} // namespace
