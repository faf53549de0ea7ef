#!/usr/bin/env bash
# Builds everything, starts the local service with demo users in a throwaway
# folder (.demo/), writes two demo profiles and demo receipt files of the
# current month there, and opens the program on them, pointed at the local
# service. The user's own profiles are never touched: the program's profile
# file is .demo/config/Zeltra/NFP.ini. NFP_SKIP_BUILD=1 skips the build;
# NFP_NO_WINDOW=1 (or no display) only prepares the demo.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
[ "${NFP_SKIP_BUILD:-0}" = 1 ] || bash "$here/scripts/build.sh"

demo_dir=$here/.demo
mkdir -p "$demo_dir"
exports=$(bash "$here/scripts/start-local-service.sh" "$demo_dir/servico")
eval "$exports"

# A sample Enviar request for the demo taxpayer.
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

cat <<INFO
The local service is running (data in $demo_dir/servico, log in servico.log).
Point the program at it with:

$exports

Demo users (usuario / senha / CNPJ / categoria):
  demo / demo123 / 11222333000181 / 1 Contribuinte
  contador / conta456 / 44555666000181 and 77888999000181 / 2 Contabilistas
  consumidor / cons789 / 12345678000195 / 3 Consumidores

Send a request to it by hand:

  curl --cacert "\$NFP_CA_BUNDLE" -H 'SOAPAction: ""' \\
       -H 'Content-Type: text/xml; charset="utf-8"' \\
       --data-binary @$sample "\$NFP_ENDPOINT"

Every request it receives is kept in $demo_dir/servico/requests/.
Stop it with: kill \$(cat $demo_dir/servico/servico.pid)
INFO

if command -v curl >/dev/null; then
  echo
  echo "The sample request, sent now, was answered:"
  curl -sS --cacert "$NFP_CA_BUNDLE" -H 'SOAPAction: ""' -H 'Content-Type: text/xml; charset="utf-8"' \
       --data-binary @"$sample" "$NFP_ENDPOINT"
  echo
fi

# The demo profiles and their receipt files, laid anew for this month.
build_dir=${NFP_BUILD_DIR:-$here/build}
rm -rf "$demo_dir/arquivos"
export XDG_CONFIG_HOME=$demo_dir/config
rm -f "$XDG_CONFIG_HOME/Zeltra/NFP.ini"
"$build_dir/src/app/nfp-demo-setup" "$XDG_CONFIG_HOME/Zeltra/NFP.ini" "$demo_dir/arquivos"

cat <<INFO

The program opens on two demo profiles (demo and contador), each marked for
sending, whose folders hold receipt files of this month: press Enviar, answer
Sim, and the Resultado tab lists their protocols. Re-Consultar queries them
again; the Consultar tab queries one protocol number.
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
