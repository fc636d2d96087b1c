#include "check.h"
bool check_sheets(const std::string&) {
    return true;
}
