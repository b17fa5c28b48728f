#include "testsupport/IsolatedTest.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace {

void SaveEnv(const char* name, QByteArray& value, bool& had) {
    had = qEnvironmentVariableIsSet(name);
    value = qgetenv(name);
}

void RestoreEnv(const char* name, const QByteArray& value, bool had) {
    if (had)
        qputenv(name, value);
    else
        qunsetenv(name);
}

}  // namespace

void IsolatedTest::SetUp() {
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_root = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(m_root->isValid());
    QDir root(m_root->path());
    ASSERT_TRUE(root.mkpath("registry"));
    ASSERT_TRUE(root.mkpath("runtime"));
    ASSERT_TRUE(root.mkpath("work"));
    QFile::setPermissions(RuntimeDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    SaveEnv("REELMARK_REGISTRY_DIR", m_oldRegistry, m_hadRegistry);
    SaveEnv("XDG_RUNTIME_DIR", m_oldRuntime, m_hadRuntime);
    qputenv("REELMARK_REGISTRY_DIR", RegistryDir().toUtf8());
    qputenv("XDG_RUNTIME_DIR", RuntimeDir().toUtf8());

    m_oldCwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(WorkDir()));
}

void IsolatedTest::TearDown() {
    QDir::setCurrent(m_oldCwd);
    RestoreEnv("REELMARK_REGISTRY_DIR", m_oldRegistry, m_hadRegistry);
    RestoreEnv("XDG_RUNTIME_DIR", m_oldRuntime, m_hadRuntime);
    m_root.reset();
    // Windows destroyed during the test are deleted by Qt once their events are over.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_prompter.reset();
}
