#include "ScratchDir.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

// "Suite.Test" of the running test, or empty outside a test.
QString CurrentTestName()
{
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    if (info == nullptr)
        return {};
    return QString::fromUtf8(info->test_suite_name()) + u'.' + QString::fromUtf8(info->name());
}

} // namespace

QString ScratchDir()
{
    static std::unique_ptr<QTemporaryDir> dir;
    static QString owner;

    const QString test = CurrentTestName();
    if (dir && owner == test)
        return dir->path();

    // Parameterised test names hold '/', which cannot be part of one folder name.
    QString label = test.isEmpty() ? QStringLiteral("program") : test;
    label.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]")), QStringLiteral("_"));
    dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/kladde-") + label.left(80)
                                          + QStringLiteral("-XXXXXX"));
    owner = test;
    if (!dir->isValid()) {
        ADD_FAILURE() << "no scratch folder: " << dir->errorString().toStdString();
        dir.reset();
        return {};
    }
    return dir->path();
}
