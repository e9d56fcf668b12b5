// sqlscript SQL-FILE... DATABASE: writes DATABASE anew from the statements of
// the SQL files, run one after the other as one text. Used by the build to
// make the shipped databases from text (a lesson's own sentences, then the
// statements every lesson shares).
//
// The SQL sources are UTF-8 so that they stay readable and diffable. The
// program's databases hold GB18030 text, so a source whose first line is
// exactly "-- text: GB18030" is converted to GB18030 as a whole before it
// runs; any other source (the dictionary) runs as it is.
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iconv.h>
#include <sstream>
#include <string>
#include <sqlite3.h>
#include <zlib.h>

namespace {

constexpr const char* kGb18030Marker = "-- text: GB18030";

bool WantsGb18030(const std::string& sql)
{
    std::string first = sql.substr(0, sql.find('\n'));
    if (!first.empty() && first.back() == '\r')
        first.pop_back();
    return first == kGb18030Marker;
}

// UTF-8 to GB18030; false, with a message naming the line of the first bad
// byte, when the text is not valid UTF-8 (GB18030 holds every character).
bool ToGb18030(const std::string& utf8, std::string& gb, std::string& error)
{
    iconv_t cd = iconv_open("GB18030", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        error = "no UTF-8 to GB18030 conversion available";
        return false;
    }
    // A character never takes more than twice its UTF-8 bytes in GB18030.
    gb.assign(utf8.size() * 2, '\0');
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    char* out = gb.data();
    size_t outLeft = gb.size();
    const bool ok = iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1) && inLeft == 0;
    iconv_close(cd);
    if (!ok) {
        size_t line = 1;
        for (const char* c = utf8.data(); c < in; ++c)
            line += *c == '\n';
        error = "line " + std::to_string(line) + ": not valid UTF-8 text";
        return false;
    }
    gb.resize(gb.size() - outLeft);
    return true;
}

} // namespace

namespace {

bool ReadGzip(const char* path, std::string& text)
{
    gzFile in = gzopen(path, "rb");
    if (in == nullptr)
        return false;
    char buffer[1 << 16];
    int read = 0;
    while ((read = gzread(in, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<size_t>(read));
    const bool ok = read == 0;
    gzclose(in);
    return ok;
}

bool ReadPlain(const char* path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream source;
    source << in.rdbuf();
    text = source.str();
    return true;
}

} // namespace

// Reads one source, converted when it asks for GB18030; false after a message.
bool ReadSource(const char* path, std::string& sql)
{
    const std::string name(path);
    const bool gzip = name.size() > 3 && name.compare(name.size() - 3, 3, ".gz") == 0;
    if (!(gzip ? ReadGzip(path, sql) : ReadPlain(path, sql))) {
        std::fprintf(stderr, "sqlscript: cannot read %s\n", path);
        return false;
    }
    if (!WantsGb18030(sql))
        return true;
    std::string converted;
    std::string error;
    if (!ToGb18030(sql, converted, error)) {
        std::fprintf(stderr, "sqlscript: %s: %s\n", path, error.c_str());
        return false;
    }
    sql.swap(converted);
    return true;
}

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: sqlscript SQL-FILE... DATABASE\n");
        return 2;
    }
    const char* database = argv[argc - 1];
    std::remove(database);   // a failed run leaves no database behind
    std::string sql;
    for (int i = 1; i < argc - 1; ++i) {
        std::string part;
        if (!ReadSource(argv[i], part))
            return 1;
        sql += part;
        sql += '\n';
    }
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(database, &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "sqlscript: cannot create %s\n", database);
        sqlite3_close(db);
        return 1;
    }
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK)
        std::fprintf(stderr, "sqlscript: %s: %s\n", argv[1], error ? error : "error");
    sqlite3_free(error);
    sqlite3_close(db);
    if (rc != SQLITE_OK)
        std::remove(database);
    return rc == SQLITE_OK ? 0 : 1;
}
