# Writes the header that tells the program the length and SHA-256 of the
# firmware image it is packaged with: cmake -DIMAGE=... -DOUT=... -P this.
file(SIZE "${IMAGE}" length)
file(SHA256 "${IMAGE}" digest)
get_filename_component(name "${IMAGE}" NAME)
file(WRITE "${OUT}.new"
"// Made by the build from ${name}, the image packaged with the program.
#pragma once

#include <cstdint>

namespace drives::package::built {

inline constexpr char16_t kImageFile[] = u\"${name}\";
inline constexpr std::uint32_t kImageLength = ${length};
inline constexpr char kImageSha256[] = \"${digest}\";

}  // namespace drives::package::built
")
file(COPY_FILE "${OUT}.new" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.new")
