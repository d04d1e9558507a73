// The simulator's side of the line: a pseudo-terminal, the symbolic link to it, files.
#pragma once

#include <string>

namespace kestrova::sim {

bool readFile(const std::string& path, std::string& out);
// A pseudo-terminal in raw mode at the line's speed, its far end closed; the master's
// descriptor (non-blocking), -1 when none could be had. `slave` names the far end.
int openTerminal(std::string& slave);
// Makes `link` a symbolic link to `target`; an existing link is replaced, anything else kept.
bool makeLink(const std::string& link, const std::string& target, std::string& error);
// Removes `link` when it still points at `target`.
void removeLink(const std::string& link, const std::string& target);

}  // namespace kestrova::sim
