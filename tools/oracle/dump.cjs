#!/usr/bin/env node
// Prints what mdb-reader sees in an .mdb file, one JSON text per line so a
// test can compare line by line: the user table names; then, for the table
// named, its column names, its column types, the row count kept in its
// definition, and every row in stored order as an array in column order
// (numbers and strings as JSON values, NULL as null).
//
// usage: node dump.cjs <file.mdb> [table]
// Used by the writer's tests as a reader independent of ours and mdbtools.
'use strict';
const fs = require('fs');
const path = require('path');

const file = process.argv[2];
const tableName = process.argv[3];
if (!file) {
  console.error('usage: node dump.cjs <file.mdb> [table]');
  process.exit(2);
}
const lib = require(path.join(__dirname, 'node_modules', 'mdb-reader'));
const MDBReader = lib.default || lib;

const reader = new MDBReader(fs.readFileSync(file));
const lines = [JSON.stringify(reader.getTableNames())];
if (tableName) {
  const table = reader.getTable(tableName);
  const columns = table.getColumns();
  const names = columns.map((c) => c.name);
  lines.push(JSON.stringify(names));
  lines.push(JSON.stringify(columns.map((c) => c.type)));
  lines.push(String(table.rowCount));
  for (const row of table.getData()) {
    lines.push(JSON.stringify(names.map((n) => (row[n] === undefined ? null : row[n]))));
  }
}
process.stdout.write(lines.join('\n') + '\n');
