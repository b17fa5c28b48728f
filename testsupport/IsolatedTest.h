#pragma once

#include <gtest/gtest.h>

#include "testsupport/ScriptedPrompter.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <ostream>

// Lets failed expectations print texts readably.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

// A test fixture that gives each test its own registry folder, runtime folder and working
// folder, so tests can run in parallel without meeting each other's files or locks, and a
// scripted prompter of its own.
class IsolatedTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString RegistryDir() const { return m_root->path() + "/registry"; }
    QString RuntimeDir() const { return m_root->path() + "/runtime"; }
    QString WorkDir() const { return m_root->path() + "/work"; }
    // A path inside the working folder.
    QString WorkPath(const QString& name) const { return WorkDir() + "/" + name; }
    // Answers this test's prompts; an unexpected prompt fails the test.
    ScriptedPrompter& Prompter() { return *m_prompter; }

private:
    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    QString m_oldCwd;
    QByteArray m_oldRegistry;
    QByteArray m_oldRuntime;
    bool m_hadRegistry = false;
    bool m_hadRuntime = false;
};
