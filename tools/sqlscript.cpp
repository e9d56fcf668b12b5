// sqlscript SQL-FILE DATABASE: writes DATABASE anew from the statements in
// SQL-FILE. Used by the build to make the shipped databases from text.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <sqlite3.h>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: sqlscript SQL-FILE DATABASE\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "sqlscript: cannot read %s\n", argv[1]);
        return 1;
    }
    std::ostringstream sql;
    sql << in.rdbuf();
    std::remove(argv[2]);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(argv[2], &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "sqlscript: cannot create %s\n", argv[2]);
        sqlite3_close(db);
        return 1;
    }
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.str().c_str(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK)
        std::fprintf(stderr, "sqlscript: %s: %s\n", argv[1], error ? error : "error");
    sqlite3_free(error);
    sqlite3_close(db);
    if (rc != SQLITE_OK)
        std::remove(argv[2]);
    return rc == SQLITE_OK ? 0 : 1;
}
