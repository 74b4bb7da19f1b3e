#pragma once

// The engine's file layer as a Connection opens its database: the system's
// own, except that a database whose file is no longer at its path (deleted,
// or another file renamed over it) never takes the journal at that path for
// its own.
//
// The engine finds a database's rollback journal by the database's path.
// Once another file has taken that path (a working copy deleted and made
// afresh while a run still works on the old one), a journal there belongs to
// the other file, and it is hot while the other file's writer commits. A
// connection on the moved file that began a read at that moment would roll
// that journal back into its own file (the other file's pages over its own
// records) and delete it under the writer that still needs it. The moved
// file answers the engine's question whether another holds it for writing
// with yes: the journal at its path is never played into it, and it keeps
// what its own writers left in it.

// The name of that file layer for sqlite3_open_v2; null where it could not
// be set up (the engine's default is used then).
const char* GuardedVfsName();
