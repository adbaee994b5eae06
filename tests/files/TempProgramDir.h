#pragma once

#include "app/ProgramDir.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zuk::test {

// A fresh, empty program directory for one test, with raw byte access to its files.
class TempProgramDir {
public:
    TempProgramDir() : dir_(temp_.path()) { EXPECT_TRUE(temp_.isValid()); }

    const ProgramDir& dir() const { return dir_; }

    void put(const QString& name, const QByteArray& bytes) const {
        QFile file(temp_.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    QByteArray bytes(const QString& name) const {
        QFile file(temp_.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        return file.readAll();
    }
    bool has(const QString& exactName) const { return QFile::exists(temp_.filePath(exactName)); }
    QString filePath(const QString& name) const { return temp_.filePath(name); }

private:
    QTemporaryDir temp_;
    ProgramDir dir_;
};

} // namespace zuk::test
