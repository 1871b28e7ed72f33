// The kill test: every way the record window rewrites a data file, killed
// with SIGKILL at random moments, must leave the file byte for byte as it
// was or as the operation makes it, never a mixture, a shorter file or none
// at all; and nothing a later start could take for data.
//
// The operations, each on a fresh copy of a file of 32,767 records (32,766
// for the add, which makes it full): delete a record in the middle, sort by
// date, sort by type, add a record at the end, save an edited record, and
// Save File As over an existing file. Each runs in a child process (this
// program again, with --child) through the real record window, after which
// it waits to be killed; the parent kills it after a random delay that
// spans the operation's whole length and a little more. Half the copies are
// dated an earlier day, so that the operation first makes its backup copy,
// which must then be the old content whole, or not there.
//
// After each kill, a later start (the owner of the record windows opening
// the file, in this process) must open the file with its count of records,
// and take away any temporary file the killed write left behind; the
// folder must then hold the data files, their backups and nothing else.
//
//   killtest [--kills-per-operation N] [--seed S]
//
// CTest runs it with a few kills per operation; run by hand it kills each
// operation 40 times (240 kills) and prints a table of what it found.

#include "forms/record/quillary.h"
#include "forms/record/recordwindows.h"
#include "platform/dialogs.h"
#include "platform/fileservices.h"
#include "platform/localeservices.h"
#include "platform/settingsstore.h"
#include "records/categories.h"
#include "records/datafile.h"
#include "session/appstate.h"
#include "support/pdfprinter.h"
#include "support/records.h"
#include "support/testplatform.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <map>
#include <unistd.h>

using namespace quillary;

namespace {

const QStringList kOperations{"delete", "sortdate", "sorttype", "add", "edit", "saveas"};
const QString kData = QStringLiteral("Taxrecs.dat");
const QString kOther = QStringLiteral("other.dat");

// Answers every box as a user pressing Enter would, remembering what was
// shown; the Save File As dialog answers with the name given.
class AnsweringDialogs final : public Dialogs {
public:
    QString saveAs;
    QStringList shown;

    Answer message(const QString& text, Buttons buttons, Icon, const QString& title) override
    {
        shown << title + QStringLiteral(": ") + text;
        return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    }
    QString input(const QString& prompt, const QString& title) override
    {
        shown << title + QStringLiteral(": ") + prompt;
        return QString();
    }
    int choose(const QString& text, const QStringList& choices, Icon, const QString& title) override
    {
        shown << title + QStringLiteral(": ") + text;
        return int(choices.size()) - 1;
    }
    std::optional<QString> openFileName(const QString&) override { return std::nullopt; }
    std::optional<QString> saveFileName(const QString&) override { return saveAs; }
    void runModal(QDialog&) override {}
};

// The platform of one program run, with its settings in `scratch`.
struct Run {
    explicit Run(const QString& scratch)
        : settings(scratch + QStringLiteral("/settings.ini"))
        , printer(scratch)
        , state(Platform{dialogs, settings, files, help, printer})
        , windows(state, area)
    {
    }
    ~Run()
    {
        for (QMdiSubWindow* sub : area.subWindowList())
            delete sub;
    }
    Quillary* open(const QString& path)
    {
        state.filename = path;
        return qobject_cast<Quillary*>(windows.open().window);
    }

    AnsweringDialogs dialogs;
    SettingsStore settings;
    FileServices files;
    test::RecordingHelp help;
    test::PdfPrinter printer;
    AppState state;
    QMdiArea area;
    QuillaryWindows windows;
};

// Records as the record window writes them, so that its save step writes
// a record back byte for byte unchanged; kinds, types and days at random,
// so that both sorts move nearly every record.
QByteArray sampleFile(int count)
{
    QRandomGenerator rng(32767);
    QByteArray out;
    out.reserve(qsizetype(count) * kRecordLength);
    for (int i = 1; i <= count; ++i) {
        const char kind = char('0' + rng.bounded(4));
        const QStringList& types = typeList(*kindFromCode(kind));
        out += test::makeRecord(kind, shortDate(QDate(1994, 1, 1).addDays(rng.bounded(4000))),
                                QStringLiteral("%1.25").arg(rng.bounded(100000)),
                                QStringLiteral("N%1").arg(i), QStringLiteral("Cash"),
                                types[rng.bounded(int(types.size()))],
                                QStringLiteral("Party %1").arg(rng.bounded(500)),
                                QStringLiteral("record %1").arg(i))
                   .bytes();
    }
    return out;
}

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

bool write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

void setChanged(const QString& path, const QDateTime& when)
{
    QFile f(path);
    if (f.open(QIODevice::ReadWrite))
        f.setFileTime(when, QFileDevice::FileModificationTime);
}

// --- The child: one operation through the record window ------------------

int runChild(const QString& operation, const QString& folder, const QString& scratch, bool finish)
{
    Run run(scratch);
    const QString data = folder + u'/' + kData;
    Quillary* w = run.open(data);
    if (!w) {
        std::fprintf(stderr, "child: no window on %s\n", qPrintable(data));
        return 2;
    }
    auto click = [w](const char* name) {
        if (QPushButton* b = w->findChild<QPushButton*>(QString::fromLatin1(name)))
            b->click();
    };
    auto type = [w](const char* name, const QString& text) {
        if (QLineEdit* box = w->findChild<QLineEdit*>(QString::fromLatin1(name)))
            box->setText(text);
    };
    if (operation == QLatin1String("delete")) {
        // A record in the middle, chosen without a save.
        w->Presrecord = w->Lastrecord / 2;
        w->uprec();
    } else if (operation == QLatin1String("saveas")) {
        run.dialogs.saveAs = folder + u'/' + kOther;
    }

    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    QElapsedTimer timer;
    timer.start();
    if (operation == QLatin1String("delete")) {
        click("Command4");
    } else if (operation == QLatin1String("sortdate")) {
        w->sortdate_Click();
    } else if (operation == QLatin1String("sorttype")) {
        w->sorttype_Click();
    } else if (operation == QLatin1String("add")) {
        click("Command3");
        type("Text2", QStringLiteral("added when killed"));
        type("Text6", QStringLiteral("99.5"));
        click("Command7");
    } else if (operation == QLatin1String("edit")) {
        type("Text2", QStringLiteral("edited when killed"));
        click("Command7");
    } else if (operation == QLatin1String("saveas")) {
        w->safil_Click();
    }
    const qint64 us = timer.nsecsElapsed() / 1000;
    std::printf("done %lld\n", static_cast<long long>(us));
    std::fflush(stdout);
    if (!run.dialogs.shown.isEmpty()) {
        std::fprintf(stderr, "child: unexpected boxes: %s\n",
                     qPrintable(run.dialogs.shown.join(QStringLiteral(" | "))));
        return 3;
    }
    if (finish)
        return 0;
    for (;;)
        ::pause();
}

// --- The parent ------------------------------------------------------------

struct Child {
    QProcess process;
    QString said;

    bool start(const QString& operation, const QString& folder, const QString& scratch,
               bool finish)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name :
             {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
            env.insert(QString::fromLatin1(name), scratch);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QStringList args{QStringLiteral("--child"), operation, folder, scratch};
        if (finish)
            args << QStringLiteral("--finish");
        process.start(QCoreApplication::applicationFilePath(), args);
        return process.waitForStarted(30000) && waitFor("ready");
    }
    bool waitFor(const char* word)
    {
        while (!said.contains(QLatin1String(word))) {
            if (!process.waitForReadyRead(60000))
                return false;
            said += QString::fromLatin1(process.readAllStandardOutput());
        }
        return true;
    }
    qint64 reportedUs() const
    {
        const qsizetype at = said.indexOf(QLatin1String("done "));
        return at < 0 ? -1 : said.mid(at + 5).trimmed().toLongLong();
    }
};

struct Tally {
    int kills = 0;
    int old = 0;
    int fresh = 0;
    int leftovers = 0;
    int backups = 0;
    qint64 operationUs = 0;
};

// What the folder may hold once a later start has run: the data files and
// their backups.
bool onlyDataFiles(const QString& folder, QString* what)
{
    static const QStringList allowed{kData, kData + QStringLiteral(".bak"), kOther,
                                     kOther + QStringLiteral(".bak")};
    const QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& e : entries)
        if (!allowed.contains(e)) {
            *what = e;
            return false;
        }
    return true;
}

int hiddenTemporaries(const QString& folder)
{
    int n = 0;
    for (const QString& e : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        if (e.startsWith(u'.') && !e.endsWith(QLatin1String(".lock")))
            ++n;
    return n;
}

class KillTest {
public:
    KillTest(int killsPerOperation, quint32 seed)
        : kills_(killsPerOperation)
        , rng_(seed)
        , seed_(seed)
    {
    }

    int run()
    {
        std::printf("Kill test: %d kills per operation, seed %u; files of 32,767 records.\n",
                    kills_, seed_);
        std::fflush(stdout);
        full_ = sampleFile(kMaxRecords);
        allButOne_ = full_.left(full_.size() - kRecordLength);
        other_ = sampleFile(100);
        bool ok = true;
        for (const QString& op : kOperations)
            ok = killOperation(op) && ok;
        printTable();
        std::printf("%s\n", ok ? "Every kill left the old or the new file, whole."
                               : "FAILED: see the lines above.");
        return ok ? 0 : 1;
    }

private:
    QByteArray original(const QString& op) const { return op == QLatin1String("add") ? allButOne_ : full_; }

    // A fresh folder with the operation's files, the data file last changed
    // on an earlier day or today.
    bool prepare(const QString& op, const QString& folder, bool earlierDay)
    {
        if (!write(folder + u'/' + kData, original(op)))
            return false;
        if (op == QLatin1String("saveas") && !write(folder + u'/' + kOther, other_))
            return false;
        if (earlierDay)
            setChanged(folder + u'/' + kData, QDateTime::currentDateTime().addDays(-3));
        return true;
    }

    bool fail(const QString& op, int kill, const QString& why)
    {
        std::printf("FAIL %s, kill %d: %s\n", qPrintable(op), kill, qPrintable(why));
        std::fflush(stdout);
        return false;
    }

    bool killOperation(const QString& op)
    {
        Tally& tally = tallies_[op];
        // The operation run to its end, with and without its backup: its
        // length and what it makes of the files.
        QByteArray made, madeOther;
        for (bool earlierDay : {true, false}) {
            QTemporaryDir folder, scratch;
            if (!prepare(op, folder.path(), earlierDay))
                return fail(op, 0, QStringLiteral("no files to work on"));
            Child child;
            if (!child.start(op, folder.path(), scratch.path(), true) || !child.waitFor("done")
                || !child.process.waitForFinished(60000) || child.process.exitCode() != 0)
                return fail(op, 0, QStringLiteral("the operation did not run to its end"));
            tally.operationUs = std::max(tally.operationUs, child.reportedUs());
            made = contents(folder.filePath(kData));
            madeOther = contents(folder.filePath(kOther));
        }
        const QByteArray old = original(op);
        if (op == QLatin1String("saveas") ? madeOther != old : made == old)
            return fail(op, 0, QStringLiteral("the operation changed nothing"));

        bool ok = true;
        for (int k = 1; k <= kills_; ++k) {
            QTemporaryDir folder, scratch;
            const bool earlierDay = k % 2 == 1;
            if (!prepare(op, folder.path(), earlierDay))
                return fail(op, k, QStringLiteral("no files to work on"));
            Child child;
            if (!child.start(op, folder.path(), scratch.path(), false))
                return fail(op, k, QStringLiteral("the child did not start"));
            // Anywhere from the start of the operation to a fifth past its
            // end (the child may report its end only a little later).
            const qint64 delayUs = qint64(rng_.bounded(quint32(tally.operationUs * 6 / 5 + 1)));
            QThread::usleep(quint64(delayUs));
            child.process.kill();
            child.process.waitForFinished(30000);
            ++tally.kills;

            const QString data = folder.filePath(kData);
            const QByteArray now = contents(data);
            const QByteArray nowOther = contents(folder.filePath(kOther));
            const QString where = QStringLiteral("after %1 us").arg(delayUs);
            if (op == QLatin1String("saveas")) {
                if (now != old)
                    ok = fail(op, k, where + QStringLiteral(": the file saved from changed"));
                if (nowOther == other_)
                    ++tally.old;
                else if (nowOther == madeOther)
                    ++tally.fresh;
                else
                    ok = fail(op, k, where + QStringLiteral(": the file saved over holds %1 bytes "
                                                             "of neither content")
                                                 .arg(nowOther.size()));
            } else if (now == old) {
                ++tally.old;
            } else if (now == made) {
                ++tally.fresh;
            } else {
                ok = fail(op, k, where + QStringLiteral(": the file holds %1 bytes of neither "
                                                         "content (old %2, new %3)")
                                             .arg(now.size())
                                             .arg(old.size())
                                             .arg(made.size()));
            }
            const QString backup = data + QStringLiteral(".bak");
            if (QFile::exists(backup)) {
                ++tally.backups;
                if (contents(backup) != old)
                    ok = fail(op, k, where + QStringLiteral(": the backup is not the old file"));
            }
            if (hiddenTemporaries(folder.path()) > 0)
                ++tally.leftovers;
            ok = laterStart(op, k, folder.path(), scratch.path()) && ok;
        }
        return ok;
    }

    // The next start opens the files as the program does, taking over the
    // lock the killed copy left; afterwards only data files remain.
    bool laterStart(const QString& op, int k, const QString& folder, const QString& scratch)
    {
        {
            Run later(scratch);
            for (const QString& name : {kData, kOther}) {
                const QString path = folder + u'/' + name;
                if (!QFile::exists(path))
                    continue;
                Quillary* w = later.open(path);
                if (!w || w->presfile != path)
                    return fail(op, k, QStringLiteral("a later start could not open %1").arg(name));
                const int count = int(contents(path).size() / kRecordLength);
                if (w->Lastrecord != count)
                    return fail(op, k, QStringLiteral("a later start counts %1 records of %2")
                                           .arg(w->Lastrecord)
                                           .arg(count));
            }
            if (!later.dialogs.shown.isEmpty())
                return fail(op, k, QStringLiteral("a later start showed: ")
                                       + later.dialogs.shown.join(QStringLiteral(" | ")));
        }
        QString what;
        if (!onlyDataFiles(folder, &what))
            return fail(op, k, QStringLiteral("after a later start the folder still holds ") + what);
        return true;
    }

    void printTable() const
    {
        std::printf("\n%-10s %6s %6s %6s %8s %10s %14s\n", "operation", "kills", "old", "new",
                    "backups", "leftovers", "operation ms");
        int total = 0;
        for (const QString& op : kOperations) {
            const Tally& t = tallies_.at(op);
            std::printf("%-10s %6d %6d %6d %8d %10d %14.1f\n", qPrintable(op), t.kills, t.old,
                        t.fresh, t.backups, t.leftovers, t.operationUs / 1000.0);
            total += t.kills;
        }
        std::printf("%-10s %6d\n", "all", total);
        std::printf("(old/new: what the file held after the kill; backups: kills after which a "
                    "backup copy was there, always the old file whole; leftovers: kills that "
                    "left a temporary file, which the later start removed)\n\n");
    }

    int kills_;
    QRandomGenerator rng_;
    quint32 seed_;
    QByteArray full_, allButOne_, other_;
    std::map<QString, Tally> tallies_;
};

} // namespace

int main(int argc, char* argv[])
{
    const bool child = argc >= 5 && qstrcmp(argv[1], "--child") == 0;
    // The parent's own settings and runtime folder, away from the user's.
    QTemporaryDir settings;
    if (!child)
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
            qputenv(name, QFile::encodeName(settings.path()));
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QStringList args = app.arguments();
    if (child)
        return runChild(args.at(2), args.at(3), args.at(4), args.contains(QStringLiteral("--finish")));

    int kills = 40;
    quint32 seed = QRandomGenerator::system()->generate();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--kills-per-operation"))
            kills = args.at(i + 1).toInt();
        else if (args.at(i) == QLatin1String("--seed"))
            seed = args.at(i + 1).toUInt();
    }
    if (kills < 1) {
        std::fprintf(stderr, "usage: killtest [--kills-per-operation N] [--seed S]\n");
        return 2;
    }
    return KillTest(kills, seed).run();
}
