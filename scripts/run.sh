#!/usr/bin/env bash
# Builds everything, starts the local service with demo users in a throwaway
# folder (.demo/), and shows how to send to it. The user's own profiles are
# never touched. NFP_SKIP_BUILD=1 skips the build.
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
