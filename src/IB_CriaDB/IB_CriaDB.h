#pragma once

#include <ibase.h>

#include <string>

// Makes sure the log database can be reached, provisioning it when it cannot:
// the log's account, the database file, its properties and its schema.
void VerificaBancoLog(const std::string& servidor, const std::string& caminho);

// Creates a database through the client library, then detaches from it.
// Throws firebird::DatabaseError with the messages the operator is shown.
void CriaBancoDados(const std::string& path, const std::string& user, const std::string& password);

// "SQL Code: <code>, Message: <the server's text for that code>".
std::string MensagemErroSQL(const ISC_STATUS* status);

// The server's own path of a database path, without any "server:" in front.
std::string serverLocalPath(const std::string& servidor, const std::string& path);
