#pragma once
// File names of the reports: one file per computer and run, stamped with the local time.
#include <string>

#include "platform/Relogio.h"

namespace tavoran {

// pasta + "\" + computer + " (YYYY-MM-DD_hh-mm-ss).HTML"
std::string NomeArquivoRelatorio(const std::string& pasta, const std::string& computador, const DataHora& agora);
// The lookup pattern of every report of one computer in a folder: pasta + "\" + computer + " (*).HTML"
std::string PadraoRelatoriosComputador(const std::string& pasta, const std::string& computador);

}  // namespace tavoran
