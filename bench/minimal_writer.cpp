// The floor for writing a shortcut tree: creates the folders and files listed
// in a manifest, with their bytes, and does nothing else (no checks, no
// temporary files, no renames). The manifest is read whole first, as the
// program under test reads its whole HTML file.
//
//   minimal_writer MANIFEST ROOT
//
// Manifest records, in creation order:
//   'D' relative-path '\0'                     a folder
//   'F' relative-path '\0' size '\0' bytes     a file of size bytes
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

static std::string ReadAll(const char* path) {
  std::string data;
  const int fd = open(path, O_RDONLY);
  if (fd < 0) return data;
  char buf[1 << 16];
  for (ssize_t n; (n = read(fd, buf, sizeof buf)) > 0;) data.append(buf, static_cast<size_t>(n));
  close(fd);
  return data;
}

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: minimal_writer MANIFEST ROOT\n");
    return 2;
  }
  const std::string m = ReadAll(argv[1]);
  const std::string root = std::string(argv[2]) + "/";
  std::string path;
  size_t i = 0, files = 0, dirs = 0;
  while (i < m.size()) {
    const char kind = m[i++];
    const size_t end = m.find('\0', i);
    if (end == std::string::npos) return 3;
    path.assign(root).append(m, i, end - i);
    i = end + 1;
    if (kind == 'D') {
      if (mkdir(path.c_str(), 0777) != 0) return std::perror(path.c_str()), 1;
      ++dirs;
      continue;
    }
    const size_t sizeEnd = m.find('\0', i);
    if (kind != 'F' || sizeEnd == std::string::npos) return 3;
    const size_t size = std::strtoul(m.c_str() + i, nullptr, 10);
    i = sizeEnd + 1;
    if (i + size > m.size()) return 3;
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0 || write(fd, m.data() + i, size) != static_cast<ssize_t>(size)) return std::perror(path.c_str()), 1;
    close(fd);
    i += size;
    ++files;
  }
  std::printf("%zu folders, %zu files\n", dirs, files);
  return 0;
}
