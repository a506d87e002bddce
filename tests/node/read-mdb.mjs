// Reads a Jet file with the independent npm reader mdb-reader and prints, as JSON, its
// password, its user tables with their column types and every row. Dates are printed as
// milliseconds since 1970 so that the caller compares numbers, not formatted text.
// Usage: node read-mdb.mjs FILE
import { readFileSync } from "node:fs";
import MDBReader from "mdb-reader";

const reader = new MDBReader(readFileSync(process.argv[2]));
const out = { password: reader.getPassword(), tables: {} };
for (const name of reader.getTableNames()) {
    const table = reader.getTable(name);
    const columns = table.getColumns().map((c) => ({ name: c.name, type: c.type }));
    const rows = table.getData().map((row) =>
        columns.map(({ name }) => {
            const value = row[name];
            return value instanceof Date ? { ms: value.getTime() } : value;
        }));
    out.tables[name] = { columns, rows };
}
process.stdout.write(JSON.stringify(out));
