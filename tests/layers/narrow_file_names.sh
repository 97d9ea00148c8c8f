#!/usr/bin/env bash
# scripts/check-layers refuses every narrow way of making a file name or reading one back, and
# nothing that is right: a tree holding one file of each is checked and the lines it names
# compared with those marked "bad".
#   narrow_file_names.sh SRC      (SRC: the real src/, for store/schema.h)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
src=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/store" "$tree/windows/main" "$tree/ui"
cp "$src/store/schema.h" "$tree/store/"
cat > "$tree/windows/main/files.cpp" <<'CPP'
void a(const fs::path& p) { auto t = p.string(); }  // bad
void b(const fs::path& p) { auto t = p.filename().generic_string(); }  // bad
void c(const std::string& s) { auto p = std::filesystem::path(s); }  // bad
void d(const std::string& s) { auto p = fs::path(s + ".db"); }  // bad
void e(const fs::path& d) { auto p = d / "代课.db"; }  // bad
void f(const fs::path& d) { auto p = d / Store::kFileName; }  // bad
void g(const fs::path& d) { auto p = d / ti::kDocumentFolder; }  // bad
void h(const fs::path& d, const QString& q) { auto p = d / ss(q); }  // bad
void i(const fs::path& d, const QString& q) { auto p = d / q.toStdString(); }  // bad
void j(const fs::path& p) { sqlite3_open_v2(p.c_str(), &db, 0, nullptr); }  // bad
void k(const fs::path& p) { ::access(file.c_str(), W_OK); }  // bad
void l(const fs::path& p) { auto u = p.u8string(); }  // bad
void m(const fs::path& p) { auto u = p.u16string(); }  // bad
void n(const QString& q) { auto u = q.toStdU16String(); }  // bad
void ok1(const fs::path& p) { auto t = utf8(p); auto n = fileNameText(p); }
void ok2(const fs::path& d) { auto p = inFolder(d, Store::kFileName); auto q = d / "printed"; }
void ok3(const fs::path& d, const QString& q) { auto p = d / fspath(q); auto e = fs::path(); }
void ok4(int slot) { return slot / kPeriods + 1; }
void ok5(const fs::path& p) { sqlite3_open_v2(utf8(p).c_str(), &db, 0, nullptr); }
void ok6(char** argv) { const std::filesystem::path dir(argv[1]); auto t = dir.string(); }  // native path
void ok7(const std::string& name) { auto c = name.c_str(); auto s = sql.c_str(); }
// p.string() and d / "代课.db" in a comment
CPP
cat > "$tree/ui/path_text.h" <<'CPP'
inline QString qpath(const std::filesystem::path& p) { return QString::fromStdU16String(p.u16string()); }
CPP
out=$(bash "$here/../../scripts/check-layers" "$tree")
status=$?
[ $status -ne 0 ] || { echo "check-layers passed a tree with narrow file names"; exit 1; }
want=$(grep -n '// bad$' "$tree/windows/main/files.cpp" | cut -d: -f1 | paste -sd' ')
got=$(sed -n 's#^windows/main/files\.cpp:\([0-9]*\):.*#\1#p' <<<"$out" | paste -sd' ')
others=$(grep -v '^windows/main/files\.cpp:' <<<"$out" | grep -v '^layer fault: a file name made from' || true)
fail=0
[ "$got" = "$want" ] || { echo "refused lines: $got"; echo "expected:      $want"; fail=1; }
[ -z "$others" ] || { echo "other faults:"; echo "$others"; fail=1; }
[ $fail -eq 0 ] && echo "narrow file names refused, the helpers let through"
exit $fail
