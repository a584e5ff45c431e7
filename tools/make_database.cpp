// Writes a fresh SQLite file from a schema script: papyrant-mkdb <schema.sql> <output>
#include <SQLiteCpp/SQLiteCpp.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: papyrant-mkdb <schema.sql> <output>\n");
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::fprintf(stderr, "papyrant-mkdb: cannot read %s\n", argv[1]);
        return 1;
    }
    std::stringstream sql;
    sql << in.rdbuf();
    const std::filesystem::path output = argv[2];
    const std::filesystem::path partial = output.string() + ".partial";
    try {
        std::filesystem::remove(partial);
        {
            SQLite::Database db(partial.string(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
            db.exec(sql.str());
        }
        std::filesystem::rename(partial, output);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "papyrant-mkdb: %s\n", e.what());
        return 1;
    }
    return 0;
}
