#include "widgets/Application.h"

#include "TestSupport.h"

#include <QPushButton>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(DefaultErrorBox, AppendsAFullStopAfterCharactersAboveIt) {
    struct Case {
        QString message;
        QString shown;
    };
    for (const Case& c : {Case{"Falhou", "Falhou."}, Case{"Falhou.", "Falhou."},
                          Case{"Falhou!", "Falhou!"}, Case{"Falhou...", "Falhou..."},
                          Case{"tem 3", "tem 3."}, Case{"Conexão", "Conexão."},
                          Case{"linha\r\n", "linha\r\n"}, Case{"caminho/", "caminho/."},
                          Case{"", ""}, Case{"fim-", "fim-"}}) {
        EXPECT_EQ(widgets::errorBoxText(c.message), c.shown) << c.message.toStdString();
    }
}

TEST(DefaultErrorBox, ShowsTheInnermostErrorOfAnEscapingHandler) {
    testsupport::MessageCatcher catcher;
    QPushButton button;
    QObject::connect(&button, &QPushButton::clicked, widgets::guarded([] {
                         try {
                             throw std::runtime_error("inner");
                         } catch (...) {
                             std::throw_with_nested(std::runtime_error("outer"));
                         }
                     }));
    button.click();
    ASSERT_EQ(catcher.messages.size(), 1u);
    EXPECT_EQ(catcher.messages[0].caption, "Tracora");
    EXPECT_EQ(catcher.messages[0].text, "inner.");
    EXPECT_EQ(catcher.messages[0].icon, widgets::MessageIcon::Error);
    // The event loop goes on: the next click is reported again.
    button.click();
    EXPECT_EQ(catcher.messages.size(), 2u);
}

}  // namespace
