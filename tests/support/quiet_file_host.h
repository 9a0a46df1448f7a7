#pragma once
// The main window as far as the file commands need it; the last status-bar text is kept.

#include "problem/open_problem.h"
#include "problem/problem_file_commands.h"

#include <QString>

namespace vexo::test {

struct QuietHost : ProblemFileHost
{
    QString status;
    QWidget *owner() override { return nullptr; }
    void setCaption(const QString &) override {}
    void STATUSMESSAGE(const QString &text) override { status = text; }
    bool closeEditors() override { return true; }
    void WHOCHANGES() override {}
    void MI_ENADISABLE() override
    {
        if (!openProblem().isOpen())
            openProblem().reset();
    }
    void YM_GIRIS() override {}
    void OBFIRST() override {}
    std::optional<QString> askNewFileName() override { return std::nullopt; }
};

} // namespace vexo::test
