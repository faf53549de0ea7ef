// The application's wiring links every report part together.
#include <QLocale>

#include <gtest/gtest.h>

#include "report/engine/rel_grade.h"
#include "report/windows/report_platform.h"

using namespace nfp;

TEST(ReportPlatform, FillsEveryServiceAndRoutesMessages) {
    std::vector<std::string> shown;
    CallbackReportMessages messages([&](const std::string& m) { shown.push_back(m); },
                                    [](const std::string&) { return false; });
    ReportPlatform platform(messages);
    TRelGrade rel;
    platform.Attach(rel);
    const auto& s = rel.services;
    EXPECT_TRUE(s.messages && s.printers && s.spooler && s.directPort && s.graphic && s.setupDialog && s.progress &&
                s.preview && s.processEvents);
    EXPECT_FALSE(rel.Fechar());
    EXPECT_EQ(shown, (std::vector<std::string>{"Erro #02 - (FECHAR) Relatório não foi aberto..."}));
    EXPECT_FALSE(s.messages->Confirm("Deseja realmente Cancelar ?"));
}


TEST(ReportPlatform, NumberSeparatorsOfTheLocale) {
    const auto br = LocaleNumberSeparators(QLocale(QLocale::Portuguese, QLocale::Brazil));
    EXPECT_EQ(br.decimal, ',');
    EXPECT_EQ(br.thousands, '.');
    const auto us = LocaleNumberSeparators(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(us.decimal, '.');
    EXPECT_EQ(us.thousands, ',');
}
