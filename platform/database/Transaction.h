#pragma once

// One transaction level on a connection for the length of a scope: begun on
// construction, rolled back on destruction unless committed. Inside another
// transaction it is a savepoint, so a failing inner part is undone alone.

class Connection;

class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void Commit();
    void Rollback();
    bool Active() const { return m_active; }

private:
    Connection& m_connection;
    bool m_active = false;
};
