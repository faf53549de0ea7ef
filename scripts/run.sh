#!/usr/bin/env bash
# Builds everything, starts the local service with demo users, writes two
# demo profiles and demo receipt files of the current month (and of the
# month before, for the batch command's monthly unit), and opens the
# program on them, pointed at the local service. Everything lives in the
# visible folder demo/ of the checkout (the standard folder dialog shows it):
#   demo/arquivos/   the demo profiles' receipt folders
#   demo/config/     the demo's profile file (Zeltra/NFP.ini): the user's
#                    own profiles are never touched; and user-dirs.dirs,
#                    which names demo/documentos/ as the documents folder
#                    where the batch command's unit leaves its summary
#   demo/servico/    the local service's data; it keeps its port across
#                    restarts, so a program left open keeps working
#   demo/build.log   the output of the build
# NFP_SKIP_BUILD=1 skips the build; NFP_NO_WINDOW=1 (or no display) only
# prepares the demo.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
demo_dir=$here/demo
mkdir -p "$demo_dir"
build_dir=${NFP_BUILD_DIR:-$here/build}

if [ "${NFP_SKIP_BUILD:-0}" != 1 ]; then
  log=$demo_dir/build.log
  echo "Building (the build's output goes to $log) ..."
  if ! bash "$here/scripts/build.sh" >"$log" 2>&1; then
    echo "The build failed. Its last lines:" >&2
    tail -n 25 "$log" >&2
    echo "The whole output is in $log." >&2
    exit 1
  fi
fi

exports=$(bash "$here/scripts/start-local-service.sh" "$demo_dir/servico")
eval "$exports"

# A sample Enviar request for the demo taxpayer, for sending by hand.
sample=$demo_dir/exemplo-enviar.xml
cat > "$sample" <<'XML'
<?xml version="1.0" encoding="utf-8"?>
<soap:Envelope xmlns:soap="http://www.w3.org/2003/05/soap-envelope"
               xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance"
               xmlns:xsd="http://www.w3.org/2001/XMLSchema">
   <soap:Header>
      <Autenticacao xmlns="https://www.nfp.sp.gov.br/ws"
         Usuario='demo'
         Senha='demo123'
         CNPJ='11222333000181'
         CategoriaUsuario='1'/>
   </soap:Header>
   <soap:Body>
      <Enviar xmlns="https://www.nfp.sp.gov.br/ws">
         <NomeArquivo>exemplo.j39</NomeArquivo>
         <ConteudoArquivo>E01|11222333000181|exemplo
</ConteudoArquivo>
         <EnvioNormal>true</EnvioNormal>
         <Observacoes></Observacoes>
      </Enviar>
   </soap:Body>
</soap:Envelope>
XML

# The demo profiles and their receipt files, laid anew for this month.
rm -rf "$demo_dir/arquivos"
export XDG_CONFIG_HOME=$demo_dir/config
rm -f "$XDG_CONFIG_HOME/Zeltra/NFP.ini"
"$build_dir/src/app/nfp-demo-setup" "$XDG_CONFIG_HOME/Zeltra/NFP.ini" "$demo_dir/arquivos" >/dev/null
# The demo's send journal stays across runs, as a user's does; yours is not touched.
export NFP_JOURNAL=$demo_dir/envios.sqlite
# The documents folder of the demo, as xdg-user-dirs names one.
mkdir -p "$demo_dir/documentos"
printf 'XDG_DOCUMENTS_DIR="%s"\n' "$demo_dir/documentos" > "$XDG_CONFIG_HOME/user-dirs.dirs"

cat <<INFO
The local service answers at $NFP_ENDPOINT
(data and log in $demo_dir/servico; stop it with: kill \$(cat $demo_dir/servico/servico.pid)).
To point the program at it yourself:

$exports

Demo users (usuario / senha / CNPJ / categoria):
  demo / demo123 / 11222333000181 / 1 Contribuinte
  contador / conta456 / 44555666000181 and 77888999000181 / 2 Contabilistas
  consumidor / cons789 / 12345678000195 / 3 Consumidores
A request to send by hand: $sample (see README.md).

The program opens on the Registro(s) tab with the two demo profiles, both
marked for sending; their receipt files of this month are in
$demo_dir/arquivos/. On the Enviar tab press Enviar and answer Sim: the
Resultado tab then lists the protocols, Re-Consultar queries them again,
Histórico... lists every exchange kept in $NFP_JOURNAL
and Imprimir shows the summary, which Salvar relatório keeps (also as PDF).

The batch command sends without the window (last month's demo files; see
README.md, "Send without the window"):

$exports
export XDG_CONFIG_HOME=$(printf %q "$XDG_CONFIG_HOME") NFP_JOURNAL=$(printf %q "$NFP_JOURNAL")
$(printf %q "$build_dir/src/lote/nfp-envio-lote") --processamento --mes anterior --resumo $(printf %q "$demo_dir/documentos/resumo.pdf")
INFO

if [ "${NFP_NO_WINDOW:-0}" = 1 ]; then
  exit 0
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo
  echo "No display: the demo is ready, but the window needs a desktop."
  echo "scripts/screenshot.sh shows it on a virtual screen instead."
  exit 0
fi
# The local service writes its dates day first, as the state's does; the
# program reads them in the user's short-date order, so the demo runs under
# the Brazilian conventions (the program falls back to them when pt_BR is not
# installed: C.UTF-8 then stands in). Set LC_ALL to see the program under
# another locale.
demo_time_locale=C.UTF-8
locale -a 2>/dev/null | grep -qix 'pt_BR.utf8' && demo_time_locale=pt_BR.UTF-8
exec env LC_TIME="$demo_time_locale" "$build_dir/src/app/nfp-envio"
