// Whether two paths name one file, whichever way each is spelled.
#pragma once

#include <string>

bool sameFile(const std::string& a, const std::string& b);
