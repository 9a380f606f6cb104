#pragma once
// Who made the application and how to reach them, as the welcome page and
// the about boxes show it: the company, the web site and e-mail address
// (links) and the telephone number, each only when the script gives a
// value and its Options bit asks for it.

#include <string>
#include <string_view>
#include <vector>

#include "setup/setup_script.h"

namespace veltrace::setup {

enum class ContactField { company, webSite, email, telephone };

struct ContactRow {
  ContactField field;
  std::string text;    // what is shown
  std::string target;  // what a click opens; empty for plain text
};

// "shown\ntarget", as the script's link texts are held.
ContactRow linkRow(ContactField field, std::string_view link);

// The rows with a value, in the order above.
std::vector<ContactRow> contactRows(const SetupScript& script);

}  // namespace veltrace::setup
