#pragma once
// Stand-ins through which tests make time pass and file writes fail, without waiting and without
// real permissions (the tests run as root in CI).

#include "core/FileAccess.h"
#include "core/Clock.h"

#include <functional>
#include <memory>
#include <optional>

// A clock whose time moves only when the test says so.
class TestClock : public Clock {
public:
    qint64 now() const override { return FNow; }
    void callAfter(qint64 Ms, std::function<void()> Due) override
    {
        FAt = FNow + Ms;
        FDue = std::move(Due);
    }
    void cancel() override
    {
        FAt.reset();
        FDue = nullptr;
    }
    // Moves time on by Ms, making every call that falls due meanwhile at its moment.
    void advance(qint64 Ms)
    {
        const qint64 End = FNow + Ms;
        while (FAt && *FAt <= End) {
            FNow = *FAt;
            FAt.reset();
            std::exchange(FDue, nullptr)();
        }
        FNow = End;
    }

private:
    qint64 FNow = 0;
    std::optional<qint64> FAt;
    std::function<void()> FDue;
};

// A step of an atomic write that fails.
enum class FailingStep { None, Open, Write, Commit };

// While in scope, every atomic write of the designer (saves, recovery copies) fails at Step; the
// steps before it run for real, so a failure leaves what a real one would.
class FailingWrites {
public:
    explicit FailingWrites(FailingStep Step)
    {
        setAtomicFileFactory([Step](const QString& Path, const WriteRules& Rules) -> std::unique_ptr<AtomicFile> {
            return std::make_unique<Faulty>(makeSaveFile(Path, Rules), Step);
        });
    }
    ~FailingWrites() { setAtomicFileFactory(nullptr); }

private:
    class Faulty : public AtomicFile {
    public:
        Faulty(std::unique_ptr<AtomicFile> Real, FailingStep Step) : FReal(std::move(Real)), FStep(Step) {}
        bool open() override { return FStep != FailingStep::Open && FReal->open(); }
        // A full disk takes part of what is written.
        qint64 write(const QByteArray& Bytes) override
        {
            return FStep == FailingStep::Write ? FReal->write(Bytes.left(Bytes.size() / 2)) : FReal->write(Bytes);
        }
        bool commit() override
        {
            if (FStep != FailingStep::Commit)
                return FReal->commit();
            FReal->cancel();
            return false;
        }
        void cancel() override { FReal->cancel(); }
        QString errorString() const override { return FStep == FailingStep::None ? FReal->errorString() : QStringLiteral("test fault"); }

    private:
        std::unique_ptr<AtomicFile> FReal;
        FailingStep FStep;
    };
};

// While in scope, every atomic write runs for real, but Change runs on the file's path once the
// write has opened: another program changing the file between the designer's read and its
// replacement.
class ChangingWrites {
public:
    explicit ChangingWrites(std::function<void(const QString&)> Change)
    {
        setAtomicFileFactory([Change](const QString& Path, const WriteRules& Rules) -> std::unique_ptr<AtomicFile> {
            return std::make_unique<Changing>(makeSaveFile(Path, Rules), [Change, Path] { Change(Path); });
        });
    }
    ~ChangingWrites() { setAtomicFileFactory(nullptr); }

private:
    class Changing : public AtomicFile {
    public:
        Changing(std::unique_ptr<AtomicFile> Real, std::function<void()> Change) : FReal(std::move(Real)), FChange(std::move(Change)) {}
        bool open() override
        {
            const bool Opened = FReal->open();
            FChange();
            return Opened;
        }
        qint64 write(const QByteArray& Bytes) override { return FReal->write(Bytes); }
        bool commit() override { return FReal->commit(); }
        void cancel() override { FReal->cancel(); }
        QString errorString() const override { return FReal->errorString(); }

    private:
        std::unique_ptr<AtomicFile> FReal;
        std::function<void()> FChange;
    };
};
