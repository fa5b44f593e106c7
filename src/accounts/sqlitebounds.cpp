#include "sqlitebounds.h"

#include <QSqlDriver>
#include <QVariant>

#include <sqlite3.h>

#include <atomic>

#ifdef Q_OS_LINUX
#include <dlfcn.h>
#include <time.h>
#endif

namespace SqliteBounds {

namespace {

std::atomic<qint64> timeBoundNs{std::chrono::nanoseconds(defaultTimeBound).count()};

// Virtual machine steps between two looks at the clock. A look is a system
// call, a step mostly far less; but one step may be costly (a function over
// a value near the length limit), so the looks stay frequent.
constexpr int stepsBetweenLooks = 1000;
// While the schema is read SQLite parses one schema entry between two steps
// of its program, and an entry may be as long as the length limit: there
// the clock is looked at after every step.
constexpr int stepsBetweenLooksInSchema = 1;

#ifdef Q_OS_LINUX

// The processor time of the calling thread, not the time on the wall: on a
// busy machine a statement that waits for the processor is not cut short,
// and a statement that runs long is cut whatever the load. A wait for
// another program's lock costs no processor time; the busy timeout bounds it.
qint64 threadTimeNs()
{
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Whether the driver calls the SQLite library the console links: the
// driver's class lives in a plugin of its own, and that plugin resolves
// sqlite3_open_v2 to the console's own address. A plugin with a SQLite inside
// resolves it to another address or to none; a driver built into the program
// (a static Qt) cannot be told apart and is refused too. A handle of another
// SQLite must never reach this library.
bool driverRunsLinkedSqlite(const QSqlDriver *driver)
{
    Dl_info plugin{};
    Dl_info program{};
    if (!::dladdr(driver->metaObject(), &plugin) || !plugin.dli_fname
        || !::dladdr(reinterpret_cast<const void *>(&driverRunsLinkedSqlite), &program)
        || plugin.dli_fbase == program.dli_fbase)
        return false;
    void *const loaded = ::dlopen(plugin.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
    if (!loaded)
        return false;
    void *const open = ::dlsym(loaded, "sqlite3_open_v2");
    ::dlclose(loaded);
    return open && open == reinterpret_cast<void *>(&sqlite3_open_v2);
}

#else

// Elsewhere the driver's library is not told from another one, so the
// bounds are not set (docs/database.md says what holds then).
bool driverRunsLinkedSqlite(const QSqlDriver *)
{
    return false;
}

qint64 threadTimeNs()
{
    return 0;
}

#endif

// The console reads database.db on the GUI thread only; the mark is per
// thread all the same, so that no other thread's statement moves it.
thread_local qint64 statementStartNs = 0;

int pastTimeBound(void *)
{
    return threadTimeNs() - statementStartNs > timeBoundNs.load() ? 1 : 0;
}

// The connection's handle when it is one of the linked SQLite's, else null.
sqlite3 *linkedConnection(const QSqlDatabase &db)
{
    const QSqlDriver *const driver = db.driver();
    const QVariant handle = driver ? driver->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0 || !driverRunsLinkedSqlite(driver))
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

} // namespace

bool apply(const QSqlDatabase &db)
{
    sqlite3 *const connection = linkedConnection(db);
    if (!connection)
        return false;
    // No statement may alter the file other than through the schema's own
    // rules (no writable schema, no direct writes to internal tables).
    int defensive = 0;
    sqlite3_db_config(connection, SQLITE_DBCONFIG_DEFENSIVE, 1, &defensive);
    sqlite3_limit(connection, SQLITE_LIMIT_LENGTH, lengthLimit);
    restart();
    sqlite3_progress_handler(connection, stepsBetweenLooksInSchema, &pastTimeBound, nullptr);
    return defensive == 1;
}

void schemaRead(const QSqlDatabase &db)
{
    if (sqlite3 *const connection = linkedConnection(db))
        sqlite3_progress_handler(connection, stepsBetweenLooks, &pastTimeBound, nullptr);
}

bool isBoundError(const QSqlError &error)
{
    // The driver gives SQLite's result code, which may carry an extended
    // code in its upper bits.
    const int code = error.nativeErrorCode().toInt() & 0xff;
    return error.isValid() && (code == SQLITE_INTERRUPT || code == SQLITE_TOOBIG);
}

void restart()
{
    statementStartNs = threadTimeNs();
}

void setTimeBound(std::chrono::milliseconds bound)
{
    timeBoundNs = std::chrono::nanoseconds(bound).count();
}

} // namespace SqliteBounds
