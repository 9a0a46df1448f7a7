#pragma once

#include "problem/app_globals.h"
#include "scripted_messages.h"
#include "shell/shell_globals.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vexo::test {

// A program folder of its own for each test, the globals pointing at it, the message seam scripted,
// and the current folder and globals put back afterwards.
class ProgramFolderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_savedGlobals = appGlobals();
        m_savedShell = shellGlobals();
        m_savedCurrent = QDir::currentPath();
        m_program = m_dir.filePath(QStringLiteral("Program"));
        ASSERT_TRUE(QDir().mkpath(m_program));
        appGlobals().CPROGDIZIN = m_program;
    }
    void TearDown() override
    {
        QDir::setCurrent(m_savedCurrent);
        appGlobals() = m_savedGlobals;
        shellGlobals() = m_savedShell;
    }

    QString inProgram(const QString &name) const { return QDir(m_program).filePath(name); }
    QStringList texts() const
    {
        QStringList out;
        for (const MessageRequest &r : m_messages.shown())
            out.append(r.text);
        return out;
    }

    QTemporaryDir m_dir;
    QString m_program;
    ScriptedMessages m_messages;
    AppGlobals m_savedGlobals;
    ShellGlobals m_savedShell;
    QString m_savedCurrent;
};

} // namespace vexo::test
