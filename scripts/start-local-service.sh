#!/usr/bin/env bash
# Starts nfp-servico-local in the background on a free 127.0.0.1 port, with
# the demo users, and prints how to point the program at it.
#
#   scripts/start-local-service.sh [DATA_DIR]
#
# DATA_DIR (default: a new temporary folder) keeps the service's
# certificate, users, protocols and recorded requests. Afterwards it holds
#   endpoint.env   NFP_ENDPOINT=... and NFP_CA_BUNDLE=... (source it)
#   servico.pid    the service's process id
#   porta          the port it listens on: a later start from DATA_DIR takes
#                  the same one (another only when that one is taken), so a
#                  program pointed at it keeps working across restarts
# and the script prints the two export lines on standard output. A service
# already running from DATA_DIR is reused. Stop it with
#   kill "$(cat DATA_DIR/servico.pid)"
# The executable is looked up in $NFP_BUILD_DIR (default: build/).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${NFP_BUILD_DIR:-$here/build}
program=$build_dir/tools/servico-local/nfp-servico-local
if [ ! -x "$program" ]; then
  echo "nfp-servico-local is not built yet: run scripts/build.sh first" >&2
  exit 1
fi

data_dir=${1:-$(mktemp -d "${TMPDIR:-/tmp}/nfp-servico.XXXXXX")}
mkdir -p "$data_dir"
data_dir=$(cd "$data_dir" && pwd)

print_exports() {
  # shellcheck disable=SC1091
  . "$data_dir/endpoint.env"
  printf 'export NFP_ENDPOINT=%q\n' "$NFP_ENDPOINT"
  printf 'export NFP_CA_BUNDLE=%q\n' "$NFP_CA_BUNDLE"
}

if [ -f "$data_dir/servico.pid" ] && kill -0 "$(cat "$data_dir/servico.pid")" 2>/dev/null &&
   [ -f "$data_dir/endpoint.env" ]; then
  print_exports
  exit 0
fi

if [ ! -f "$data_dir/usuarios.txt" ]; then
  cat > "$data_dir/usuarios.txt" <<'USERS'
# usuario|senha|cnpj|categoria (1 Contribuinte, 2 Contabilistas, 3 Consumidores)
demo|demo123|11222333000181|1
contador|conta456|44555666000181|2
contador|conta456|77888999000181|2
consumidor|cons789|12345678000195|3
USERS
fi

# Starts the service on port $1 (0: a free one); false when it ended before
# reporting its endpoint.
start_on() {
  rm -f "$data_dir/endpoint.env"
  nohup "$program" --data-dir "$data_dir" --port "$1" >"$data_dir/servico.log" 2>&1 </dev/null &
  pid=$!
  echo "$pid" > "$data_dir/servico.pid"
  for _ in $(seq 1 100); do
    [ -f "$data_dir/endpoint.env" ] && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
  done
  echo "nfp-servico-local did not report its endpoint; see $data_dir/servico.log" >&2
  exit 1
}

port=0
if [ -f "$data_dir/porta" ]; then
  port=$(tr -cd '0-9' < "$data_dir/porta")
  [ -n "$port" ] || port=0
fi
if ! start_on "$port"; then
  if [ "$port" = 0 ]; then
    echo "nfp-servico-local did not start:" >&2
    cat "$data_dir/servico.log" >&2
    exit 1
  fi
  echo "Port $port is taken; the local service takes another one." >&2
  start_on 0 || { echo "nfp-servico-local did not start:" >&2; cat "$data_dir/servico.log" >&2; exit 1; }
fi
sed -n 's|^NFP_ENDPOINT=.*://[^:]*:\([0-9][0-9]*\)/.*|\1|p' "$data_dir/endpoint.env" > "$data_dir/porta"
print_exports
