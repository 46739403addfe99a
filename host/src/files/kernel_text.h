// Checks of the kernel's text forms of geometry (curves, surfaces and BRep
// shapes) before the kernel reads them from a part file. The kernel sizes
// its arrays from the counts the text declares (poles, knots, nodes,
// triangles) and trusts them; a stored file is not to be trusted, so every
// count is checked against what the text still holds, each number is read
// where the kernel would read it, and nesting is bounded.
#ifndef CARVELL_HOST_FILES_KERNEL_TEXT_H
#define CARVELL_HOST_FILES_KERNEL_TEXT_H

#include <string>

namespace host {
namespace files {

// Each answers an empty text when the kernel can read `text` without
// trusting a count it cannot hold, or else what is wrong with it
// ("poles: 999999999 declared, the text holds at most 12").
std::string check_curve_text(const std::string& text);
std::string check_surface_text(const std::string& text);
std::string check_shape_text(const std::string& text);

}  // namespace files
}  // namespace host

#endif
