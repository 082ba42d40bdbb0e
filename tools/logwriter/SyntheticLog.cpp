#include "SyntheticLog.h"

#include "Windows1252.h"

#include <cstdio>
#include <stdexcept>

namespace logwriter {

namespace {

// Every text here is written in UTF-8 and goes to the log as Windows-1252.
const std::vector<std::string> kUsers = {
    "ANA.SOUZA",           "JOAO.SILVA",      "MARIA.OLIVEIRA",  "JOSE.SANTOS",
    "ANTONIO.PEREIRA",     "FRANCISCA.LIMA",  "CARLOS.FERREIRA", "PAULO.ALMEIDA",
    "PEDRO.COSTA",         "LUCAS.RODRIGUES", "LUIZ.GOMES",      "MARCOS.RIBEIRO",
    "LUIS.CARVALHO",       "GABRIEL.MARTINS", "RAFAEL.ARAUJO",   "DANIEL.ROCHA",
    "MARCELO.DIAS",        "BRUNO.BARBOSA",   "EDUARDO.MOREIRA", "FELIPE.CARDOSO",
    "RAIMUNDA.NASCIMENTO", "RODRIGO.MENDES",  "MANOEL.TEIXEIRA", "ADRIANA.CORREIA",
    "JULIANA.FREITAS",     "FERNANDA.CASTRO", "PATRICIA.PINTO",  "ALINE.MONTEIRO",
    "SANDRA.VIEIRA",       "CAMILA.BATISTA",  "CONCEIÇÃO.REIS",  "JOSÉ.ANTÔNIO",
    "GONÇALO.BRAGA",       "ADMIN",           "SUPERVISOR",      "CAIXA01",
};

const std::vector<std::string> kTables = {
    "CLIENTES",
    "PEDIDOS",
    "ITENS_PEDIDO",
    "NOTAS_FISCAIS",
    "ITENS_NOTA_FISCAL",
    "PRODUTOS",
    "FORNECEDORES",
    "CONTAS_RECEBER",
    "CONTAS_PAGAR",
    "ESTOQUE",
    "MOVIMENTO_ESTOQUE",
    "VENDEDORES",
    "TRANSPORTADORAS",
    "CONDICOES_PAGAMENTO",
    "NATUREZA_OPERACAO",
    "CAIXA",
    "BANCOS",
    "CHEQUES",
    "DUPLICATAS",
    "ORCAMENTOS",
    "COMPRAS",
    "ITENS_COMPRA",
    "FUNCIONARIOS",
    "FOLHA_PAGAMENTO",
    "CENTROS_CUSTO",
    "PLANO_CONTAS",
    "LANCAMENTOS_CONTABEIS",
    "TABELA_PRECOS",
    "REPRESENTANTES",
    "CIDADES",
    "EMPRESAS",
    "PARAMETROS",
    "MOVIMENTACAO_ESTOQUE_DEPOSITOS",
};

const std::vector<std::string> kModules = {
    "Faturamento",   "Financeiro",         "Estoque", "Compras",
    "Contabilidade", "Folha de Pagamento", "Vendas",  "Expedição",
};

const std::vector<std::string> kPeople = {
    "José da Conceição",
    "Maria Aparecida dos Santos",
    "João Gonçalves Filho",
    "Antônia Simões",
    "Sebastião Araújo",
    "Luzia Magalhães",
    "Benedito Brandão",
    "Inês Lourenço",
    "Comercial Irmãos Açaí Ltda.",
    "Padaria Pão de Açúcar ME",
    "Distribuidora São Jorge S.A.",
    "Mercearia Estrela do Maranhão",
};

const std::vector<std::string> kCities = {
    "São Paulo - SP", "Belém - PA",    "Maceió - AL",         "Florianópolis - SC",
    "Goiânia - GO",   "São Luís - MA", "Ribeirão Preto - SP", "Niterói - RJ",
    "Vitória - ES",   "Cuiabá - MT",   "Jundiaí - SP",        "Mossoró - RN",
};

const std::vector<std::string> kProducts = {
    "Açúcar cristal 5 kg",       "Feijão carioca 1 kg",
    "Óleo de soja 900 ml",       "Café torrado e moído 500 g",
    "Sabão em pó 1 kg",          "Cabo flexível 2,5 mm²",
    "Tinta acrílica fosca 18 L", "Arroz agulhinha tipo 1 5 kg",
    "Parafuso sextavado 1/4\"",  "Caixa de papelão ondulado",
    "Farinha de mandioca 1 kg",  "Pão de queijo congelado 1 kg",
};

const std::vector<std::string> kFields = {
    "Situação",       "Observação", "Endereço",           "Condição de pagamento",
    "Preço unitário", "Descrição",  "Inscrição estadual", "Limite de crédito",
};

const std::vector<std::string> kReasons = {
    "lançamento em duplicidade",     "solicitação do cliente",    "cadastro incorreto",
    "devolução de mercadoria",       "correção de preço",         "pedido cancelado pelo vendedor",
    "ajuste após inventário físico", "informação não confirmada",
};

const std::vector<std::string> kRoutines = {
    "Fechamento do mês",
    "Cálculo de comissões",
    "Geração de boletos",
    "Exportação SPED",
    "Reajuste de preços",
    "Cópia de segurança",
    "Importação de extrato bancário",
    "Emissão de duplicatas",
};

const std::vector<std::string> kErrors = {
    "violation of FOREIGN KEY constraint \"FK_PEDIDOS_CLIENTES\" on table \"PEDIDOS\"",
    "lock conflict on no wait transaction",
    "Não foi possível conectar ao servidor de impressão",
    "Valor inválido para o campo Data de emissão",
    "Tempo esgotado ao aguardar resposta da SEFAZ",
    "arithmetic exception, numeric overflow, or string truncation",
};

const std::vector<std::string> kMessages = {
    "Limite de crédito excedido para o cliente",
    "Existem duplicatas vencidas há mais de 30 dias para",
    "Estoque abaixo do mínimo para o produto",
    "Confirmação de exclusão respondida com \"Sim\" por",
    "Preço de venda inferior ao custo médio informado para",
};

struct ActionShare {
    const char* acao;
    int weight;
};
// ENTROU and SAIU come from the sessions themselves.
const ActionShare kWork[] = {{"INCLUIU", 30}, {"ALTEROU", 28}, {"EXCLUIU", 8}, {"EXECUTOU", 8},
                             {"SQL", 9},      {"ERRO", 7},     {"MSG", 10}};

constexpr std::size_t kOpenSessions = 6;

std::string bytes(const std::string& utf8) {
    auto converted = utf8ToWindows1252(utf8);
    if (!converted)
        throw std::logic_error("synthetic text outside Windows-1252: " + utf8);
    return *converted;
}

}  // namespace

SyntheticLog::SyntheticLog(std::uint64_t seed, std::size_t longEvery)
    : state_(seed), longEvery_(longEvery) {}

// splitmix64: small, fast and the same on every platform, unlike the
// standard library's distributions.
std::uint64_t SyntheticLog::random() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::size_t SyntheticLog::below(std::size_t n) {
    return static_cast<std::size_t>(random() % n);
}

std::string SyntheticLog::record() {
    return std::to_string(1000 + below(90000));
}

std::string SyntheticLog::date() {
    char text[16];
    std::snprintf(text, sizeof text, "%02zu/%02zu/20%02zu", 1 + below(28), 1 + below(12),
                  15 + below(10));
    return text;
}

std::string SyntheticLog::money() {
    const std::size_t cents = below(5000000);
    const std::string digits = std::to_string(cents / 100);
    std::string whole;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            whole += '.';
        whole += digits[i];
    }
    char text[48];
    std::snprintf(text, sizeof text, "R$ %s,%02zu", whole.c_str(), cents % 100);
    return text;
}

std::string SyntheticLog::workText(const std::string& acao, const std::string& tabela) {
    const std::string nl = "\r\n";
    const std::string id = record();
    if (acao == "INCLUIU") {
        return "Inclusão do registro " + id + " em " + tabela + nl + "Nome: " + pick(kPeople) + nl +
               "Cidade: " + pick(kCities) + nl + "Produto: " + pick(kProducts) + nl +
               "Valor: " + money() + nl + "Situação: Ativo";
    }
    if (acao == "ALTEROU") {
        return "Alteração do registro " + id + " em " + tabela + nl + "Campo " + pick(kFields) +
               ": de \"" + pick(kProducts) + "\" para \"" + pick(kProducts) + "\"" + nl +
               "Valor anterior: " + money() + "; valor novo: " + money() + nl +
               "Motivo: " + pick(kReasons);
    }
    if (acao == "EXCLUIU") {
        return "Exclusão do registro " + id + " de " + tabela + nl + "Cliente: " + pick(kPeople) +
               nl + "Motivo: " + pick(kReasons) + nl + "Data de emissão: " + date();
    }
    if (acao == "EXECUTOU") {
        return "Execução da rotina \"" + pick(kRoutines) + "\"" + nl + "Período: " + date() +
               " a " + date() + nl + "Registros processados: " + std::to_string(below(20000)) + nl +
               "Concluída sem ocorrências";
    }
    if (acao == "SQL") {
        const std::string table = tabela.empty() ? pick(kTables) : tabela;
        return "UPDATE " + table +
               " SET OBSERVACAO = 'Não enviar cobrança; contato: " + pick(kPeople) + "'," + nl +
               "       SITUACAO = 'I'" + nl + " WHERE CODIGO = " + id;
    }
    if (acao == "ERRO") {
        return "Erro ao gravar " + (tabela.empty() ? std::string("o movimento") : tabela) + nl +
               "Mensagem: " + pick(kErrors) + nl + "Registro: " + id + nl +
               "A operação foi cancelada e nenhum dado foi alterado.";
    }
    return pick(kMessages) + " " + pick(kPeople) + " (código " + id + ")" + nl +
           "Operação liberada pela gerência em " + date();
}

std::string SyntheticLog::longText(const std::string& acao, const std::string& tabela) {
    const std::size_t target = 24000 + below(56000);
    const std::string nl = "\r\n";
    std::string text = acao == "SQL" ? "INSERT INTO " + tabela + " SELECT * FROM " + tabela +
                                           "_IMPORTACAO WHERE CODIGO IN (" + nl
                                     : "Relatório da rotina \"" + pick(kRoutines) + "\"" + nl;
    for (std::size_t line = 1; text.size() < target; ++line) {
        text += std::to_string(line) + "; " + pick(kPeople) + "; " + pick(kCities) + "; " +
                pick(kProducts) + "; " + money() + "; " + pick(kReasons) + nl;
    }
    return text + "Fim do relatório: " + date();
}

LogEntry SyntheticLog::next() {
    ++count_;
    // Open a session now and then, always when none is open.
    if (sessions_.empty() || (sessions_.size() < kOpenSessions && below(100) < 12)) {
        Session s{below(kUsers.size()), below(kModules.size()), static_cast<int>(3 + below(40)),
                  static_cast<int>(5 + below(480))};
        sessions_.push_back(s);
        char station[64];
        std::snprintf(station, sizeof station, "EST-%02zu (192.168.%zu.%zu)", 1 + below(40),
                      below(4), 10 + below(200));
        return {bytes(kUsers[s.user]), "ENTROU", std::nullopt,
                bytes("Entrada no sistema pelo módulo " + kModules[s.module] + " versão 8." +
                      std::to_string(below(10)) + "." + std::to_string(below(40)) +
                      "\r\nEstação: " + station)};
    }

    const std::size_t at = below(sessions_.size());
    Session& s = sessions_[at];
    if (s.actionsLeft-- <= 0) {
        const Session done = s;
        sessions_.erase(sessions_.begin() + static_cast<std::ptrdiff_t>(at));
        return {bytes(kUsers[done.user]), "SAIU", std::nullopt,
                bytes("Saída do sistema após " + std::to_string(done.minutes) +
                      " minutos de uso\r\nMódulo: " + kModules[done.module])};
    }

    int roll = static_cast<int>(below(100));
    const char* acao = kWork[0].acao;
    for (const auto& share : kWork) {
        if (roll < share.weight) {
            acao = share.acao;
            break;
        }
        roll -= share.weight;
    }
    const std::string action = acao;
    // Routines, messages and most errors concern no single table.
    const bool noTable =
        (action == "EXECUTOU" && below(100) < 60) || (action == "MSG" && below(100) < 70) ||
        (action == "ERRO" && below(100) < 50) || (action == "SQL" && below(100) < 30);
    const std::string tabela = noTable ? std::string() : pick(kTables);
    const bool isLong = longEvery_ > 0 && count_ % longEvery_ == 0;
    const std::string text = isLong ? longText(action == "SQL" ? "SQL" : "EXECUTOU",
                                               tabela.empty() ? pick(kTables) : tabela)
                                    : workText(action, tabela);
    return {bytes(kUsers[s.user]), isLong ? (action == "SQL" ? "SQL" : "EXECUTOU") : action,
            noTable ? std::nullopt : std::optional<std::string>(bytes(tabela)), bytes(text)};
}

}  // namespace logwriter
