#pragma once

#include <string>

// Makes sure the log database can be reached, provisioning it when it cannot.
void VerificaBancoLog(const std::string& servidor, const std::string& caminho);
