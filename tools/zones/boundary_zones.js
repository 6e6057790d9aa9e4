// Reads "latitude longitude" lines on standard input and writes, for each, the IANA zones at that
// point on the time-zone boundaries of the npm package geo-tz (timezone-boundary-builder's data),
// apart by spaces, one line per point. Run by make_zone_places.py and make_check_lists.py.
// Usage: node boundary_zones.js <folder that holds node_modules/geo-tz>
'use strict';
const path = require('path');
const readline = require('readline');
const { find } = require(path.join(process.argv[2], 'geo-tz', 'dist', 'find-all.js'));

const out = [];
readline.createInterface({ input: process.stdin }).on('line', (line) => {
  const [lat, lon] = line.split(' ').map(Number);
  out.push(Number.isFinite(lat) && Number.isFinite(lon) ? find(lat, lon).join(' ') : '');
}).on('close', () => process.stdout.write(out.join('\n') + '\n'));
