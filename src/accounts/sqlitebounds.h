#ifndef SQLITEBOUNDS_H
#define SQLITEBOUNDS_H

#include <QSqlDatabase>
#include <QSqlError>

#include <chrono>

// Bounds that SQLite itself holds on the console's connection to database.db:
// a file cannot make one of the console's statements run long or build a
// large value, whatever its schema computes. They are set only on a handle of
// the very SQLite library the console links; a Qt driver with a SQLite of its
// own (a bundled build) keeps the connection without them.
namespace SqliteBounds {

// The longest string or blob a statement may read or make, in bytes: far
// above anything the console stores (names are held to 64 characters), far
// below what would hold the window or the memory.
constexpr int lengthLimit = 1000000;
constexpr std::chrono::milliseconds defaultTimeBound{1000};

// Sets the bounds on the open connection; false, with nothing set, when its
// handle is not one of the linked SQLite's. Until schemaRead() the time
// bound is looked at after every step of SQLite's program, so that the
// first statement, which reads the file's schema, is cut at the bound
// however long the schema is.
bool apply(const QSqlDatabase &db);

// The schema is read: the time bound is looked at less often from now on.
void schemaRead(const QSqlDatabase &db);

// Whether the error is one of the bounds': a statement ended by the time
// bound, or a value past the length limit.
bool isBoundError(const QSqlError &error);

// Starts the time bound afresh, for the next statement on this thread.
void restart();

// The time a statement may take before it is ended; for tests.
void setTimeBound(std::chrono::milliseconds bound);

} // namespace SqliteBounds

#endif // SQLITEBOUNDS_H
