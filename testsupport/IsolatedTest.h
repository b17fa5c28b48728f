#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>

#include <memory>

// A test fixture that gives each test its own registry folder, runtime folder and working
// folder, so tests can run in parallel without meeting each other's files or locks.
class IsolatedTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString RegistryDir() const { return m_root->path() + "/registry"; }
    QString RuntimeDir() const { return m_root->path() + "/runtime"; }
    QString WorkDir() const { return m_root->path() + "/work"; }
    // A path inside the working folder.
    QString WorkPath(const QString& name) const { return WorkDir() + "/" + name; }

private:
    std::unique_ptr<QTemporaryDir> m_root;
    QString m_oldCwd;
    QByteArray m_oldRegistry;
    QByteArray m_oldRuntime;
    bool m_hadRegistry = false;
    bool m_hadRuntime = false;
};
