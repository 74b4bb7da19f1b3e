#include "platform/database/Transaction.h"

#include "platform/database/Connection.h"

Transaction::Transaction(Connection& connection) : m_connection(connection) {
    m_connection.BeginTrans();
    m_active = true;
}

Transaction::~Transaction() {
    if (!m_active) return;
    try {
        m_connection.RollbackTrans();
    } catch (...) {
        // Unwinding from a failure: the engine ends the transaction when the
        // connection closes in any case.
    }
}

void Transaction::Commit() {
    if (!m_active) return;
    m_connection.CommitTrans();
    m_active = false;
}

void Transaction::Rollback() {
    if (!m_active) return;
    m_active = false;
    m_connection.RollbackTrans();
}
